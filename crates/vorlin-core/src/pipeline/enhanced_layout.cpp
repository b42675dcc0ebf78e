#include "vorlin_core/pipeline/layout.h"

namespace vorlin_core {

std::unique_ptr<LayoutStrategy> make_enhanced_layout() { return make_layout(Layout::Spec); }

}  // namespace vorlin_core
