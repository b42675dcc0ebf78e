#include "vorlin_core/pipeline/analyse_page.h"

namespace vorlin_core {

PageContent analyse_page(std::span<const PdfChar>, std::span<const PdfImage>, const BBox&,
                         const std::optional<std::string>&) {
  return {};
}

}  // namespace vorlin_core
