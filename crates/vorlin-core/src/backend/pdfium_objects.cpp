#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {
namespace {

// Forms nested deeper than this are not searched: real documents stay far below it, and it bounds
// the work a hostile file can ask for.
constexpr int kMaxFormDepth = 15;

void visit(const pdfium::PdfiumApi& api, pdfium::FPDF_PAGEOBJECT object, int type,
           const Affine& to_page, int depth, const ObjectVisitor& on_object) {
  const int found = api.FPDFPageObj_GetType(object);
  if (found == type) {
    on_object(object, to_page);
    return;
  }
  if (found != pdfium::kPageObjForm || depth >= kMaxFormDepth) return;
  // PDFium reports a form's objects in the form's space (its /Matrix already applied); the form
  // object's matrix maps that space to where it was drawn.
  pdfium::FS_MATRIX m{};
  if (!api.FPDFPageObj_GetMatrix(object, &m)) return;
  const Affine inner = then(Affine{m.a, m.b, m.c, m.d, m.e, m.f}, to_page);
  const int count = api.FPDFFormObj_CountObjects(object);
  for (int i = 0; i < count; ++i) {
    if (auto* child = api.FPDFFormObj_GetObject(object, static_cast<unsigned long>(i))) {
      visit(api, child, type, inner, depth + 1, on_object);
    }
  }
}

}  // namespace

void for_each_page_object(const LoadedPage& page, int type, const ObjectVisitor& on_object) {
  const int count = page.api->FPDFPage_CountObjects(page.page);
  for (int i = 0; i < count; ++i) {
    if (auto* object = page.api->FPDFPage_GetObject(page.page, i)) {
      visit(*page.api, object, type, {}, 0, on_object);
    }
  }
}

}  // namespace vorlin_core
