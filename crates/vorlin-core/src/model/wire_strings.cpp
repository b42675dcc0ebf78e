#include "vorlin_core/model/provenance.h"
#include "vorlin_core/model/relation.h"

namespace vorlin_core {

std::string_view wire_string(ProvenanceSource source) {
  switch (source) {
    case ProvenanceSource::Rust: return "rust";
    case ProvenanceSource::Ocr: return "ocr";
    case ProvenanceSource::Vlm: return "vlm";
  }
  return "rust";
}

std::string_view wire_string(Relation relation) {
  switch (relation) {
    case Relation::Contains: return "contains";
    case Relation::Follows: return "follows";
    case Relation::CaptionOf: return "caption-of";
    case Relation::References: return "references";
  }
  return "contains";
}

}  // namespace vorlin_core
