#include <cmath>

#include "vorlin_core/backend/pdfium_page_content.h"

namespace vorlin_core {
namespace {

// As for images: real documents nest forms far less deeply, and it bounds a hostile file's work.
constexpr int kMaxFormDepth = 15;

class PathCollector {
 public:
  PathCollector(const pdfium::PdfiumApi& api, const PageFrame& frame) : api_(api), frame_(frame) {}

  void visit(pdfium::FPDF_PAGEOBJECT object, const Affine& to_page, int depth) {
    switch (api_.FPDFPageObj_GetType(object)) {
      case pdfium::kPageObjPath:
        add_path(object, to_page);
        break;
      case pdfium::kPageObjForm:
        visit_form(object, to_page, depth);
        break;
      default:
        break;
    }
  }

  std::vector<PdfPath> take() { return std::move(paths_); }

 private:
  // A form's objects are reported in the form's space; its matrix places them on the page.
  void visit_form(pdfium::FPDF_PAGEOBJECT form, const Affine& to_page, int depth) {
    if (depth >= kMaxFormDepth) return;
    pdfium::FS_MATRIX m{};
    if (!api_.FPDFPageObj_GetMatrix(form, &m)) return;
    const Affine inner = then(Affine{m.a, m.b, m.c, m.d, m.e, m.f}, to_page);
    const int count = api_.FPDFFormObj_CountObjects(form);
    for (int i = 0; i < count; ++i) {
      if (auto* child = api_.FPDFFormObj_GetObject(form, static_cast<unsigned long>(i))) {
        visit(child, inner, depth + 1);
      }
    }
  }

  // An invisible path (neither stroked nor filled, e.g. a clipping outline) draws nothing.
  void add_path(pdfium::FPDF_PAGEOBJECT object, const Affine& to_page) {
    int fill_mode = 0;
    pdfium::FPDF_BOOL stroke = 0;
    if (!api_.FPDFPath_GetDrawMode(object, &fill_mode, &stroke)) return;
    if (fill_mode == 0 && !stroke) return;
    float left = 0, bottom = 0, right = 0, top = 0;
    if (!api_.FPDFPageObj_GetBounds(object, &left, &bottom, &right, &top)) return;
    const RawBox box = frame_.map(transform_box({left, bottom, right, top}, to_page));
    if (!(std::isfinite(box.x0) && std::isfinite(box.y0) && std::isfinite(box.x1) &&
          std::isfinite(box.y1))) {
      return;
    }
    paths_.push_back(PdfPath{static_cast<float>(box.x0), static_cast<float>(box.y0),
                             static_cast<float>(box.x1), static_cast<float>(box.y1), stroke != 0,
                             fill_mode != 0});
  }

  const pdfium::PdfiumApi& api_;
  const PageFrame& frame_;
  std::vector<PdfPath> paths_;
};

}  // namespace

std::vector<PdfPath> read_paths(const LoadedPage& page, const PageFrame& frame) {
  PathCollector collector(*page.api, frame);
  const int count = page.api->FPDFPage_CountObjects(page.page);
  for (int i = 0; i < count; ++i) {
    if (auto* object = page.api->FPDFPage_GetObject(page.page, i)) collector.visit(object, {}, 0);
  }
  return collector.take();
}

}  // namespace vorlin_core
