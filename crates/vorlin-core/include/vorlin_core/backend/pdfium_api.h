#pragma once
// PDFium's C interface as far as this backend uses it. The library is loaded at
// run time rather than linked, so its types and signatures are declared here,
// mirroring public/fpdfview.h, fpdf_text.h and fpdf_edit.h. Members keep
// PDFium's own names so that each one can be checked against those headers.
// One instance serves one thread at a time (pdfium_library.h).

#include <cstddef>

namespace vorlin_core::pdfium {

// Opaque handles.
using FPDF_DOCUMENT = struct FpdfDocument*;
using FPDF_PAGE = struct FpdfPage*;
using FPDF_TEXTPAGE = struct FpdfTextPage*;
using FPDF_PAGEOBJECT = struct FpdfPageObject*;
using FPDF_BITMAP = struct FpdfBitmap*;
using FPDF_FONT = struct FpdfFont*;
using FPDF_BOOKMARK = struct FpdfBookmark*;
using FPDF_DEST = struct FpdfDest*;

using FPDF_BOOL = int;
using FPDF_DWORD = unsigned long;

struct FS_RECTF {
  float left, top, right, bottom;
};

struct FS_MATRIX {
  float a, b, c, d, e, f;
};

// Version 2 of the configuration: the fields PDFium reads for that version.
struct FPDF_LIBRARY_CONFIG {
  int version;
  const char** m_pUserFontPaths;
  void* m_pIsolate;
  unsigned int m_v8EmbedderSlot;
};

// FPDF_GetLastError codes.
inline constexpr unsigned long kErrFormat = 3;
inline constexpr unsigned long kErrPassword = 4;
inline constexpr unsigned long kErrSecurity = 5;

// FPDFPageObj_GetType codes.
inline constexpr int kPageObjPath = 2;
inline constexpr int kPageObjImage = 3;
inline constexpr int kPageObjForm = 5;

// FPDFTextObj_GetTextRenderMode codes that draw nothing.
inline constexpr int kTextRenderInvisible = 3;
inline constexpr int kTextRenderClip = 7;
// Filling and stroking the outline: how word processors fake a bold face.
inline constexpr int kTextRenderFillStroke = 2;

// Font descriptor flags (FPDFText_GetFontInfo).
inline constexpr int kFontFixedPitch = 1 << 0;
inline constexpr int kFontItalic = 1 << 6;
inline constexpr int kFontSmallCap = 1 << 17;
inline constexpr int kFontForceBold = 1 << 18;

// FPDFBitmap_GetFormat codes.
inline constexpr int kBitmapGray = 1;
inline constexpr int kBitmapBgr = 2;
inline constexpr int kBitmapBgrx = 3;
inline constexpr int kBitmapBgra = 4;

// FPDF_RenderPageBitmap flag: draw annotation appearances as a viewer does.
inline constexpr int kRenderAnnotations = 0x01;

// The resolved entry points. All are present in every PDFium release since
// 2023; a symbol introduced later would be an optional member that may be null.
struct PdfiumApi {
  // The namespace's own C library sets up a thread's ctype tables only for threads it starts;
  // any other thread must call this (its __ctype_init) before PDFium's tolower() and friends.
  void (*init_thread_locale)();

  // fpdfview.h
  void (*FPDF_InitLibraryWithConfig)(const FPDF_LIBRARY_CONFIG* config);
  unsigned long (*FPDF_GetLastError)();
  FPDF_DOCUMENT (*FPDF_LoadMemDocument64)(const void* data, std::size_t size, const char* password);
  void (*FPDF_CloseDocument)(FPDF_DOCUMENT document);
  int (*FPDF_GetPageCount)(FPDF_DOCUMENT document);
  FPDF_PAGE (*FPDF_LoadPage)(FPDF_DOCUMENT document, int page_index);
  void (*FPDF_ClosePage)(FPDF_PAGE page);
  float (*FPDF_GetPageWidthF)(FPDF_PAGE page);
  float (*FPDF_GetPageHeightF)(FPDF_PAGE page);
  FPDF_BOOL (*FPDF_GetPageBoundingBox)(FPDF_PAGE page, FS_RECTF* rect);
  void (*FPDF_RenderPageBitmap)(FPDF_BITMAP bitmap, FPDF_PAGE page, int start_x, int start_y,
                                int size_x, int size_y, int rotate, int flags);
  FPDF_BITMAP (*FPDFBitmap_Create)(int width, int height, int alpha);
  FPDF_BOOL(*FPDFBitmap_FillRect)
  (FPDF_BITMAP bitmap, int left, int top, int width, int height, FPDF_DWORD color);
  int (*FPDFBitmap_GetFormat)(FPDF_BITMAP bitmap);
  void* (*FPDFBitmap_GetBuffer)(FPDF_BITMAP bitmap);
  int (*FPDFBitmap_GetWidth)(FPDF_BITMAP bitmap);
  int (*FPDFBitmap_GetHeight)(FPDF_BITMAP bitmap);
  int (*FPDFBitmap_GetStride)(FPDF_BITMAP bitmap);
  void (*FPDFBitmap_Destroy)(FPDF_BITMAP bitmap);

  // fpdf_text.h
  FPDF_TEXTPAGE (*FPDFText_LoadPage)(FPDF_PAGE page);
  void (*FPDFText_ClosePage)(FPDF_TEXTPAGE text_page);
  int (*FPDFText_CountChars)(FPDF_TEXTPAGE text_page);
  unsigned int (*FPDFText_GetUnicode)(FPDF_TEXTPAGE text_page, int index);
  int (*FPDFText_IsGenerated)(FPDF_TEXTPAGE text_page, int index);
  int (*FPDFText_HasUnicodeMapError)(FPDF_TEXTPAGE text_page, int index);
  double (*FPDFText_GetFontSize)(FPDF_TEXTPAGE text_page, int index);
  FPDF_BOOL (*FPDFText_GetLooseCharBox)(FPDF_TEXTPAGE text_page, int index, FS_RECTF* rect);
  FPDF_BOOL (*FPDFText_GetMatrix)(FPDF_TEXTPAGE text_page, int index, FS_MATRIX* matrix);
  int (*FPDFText_IsHyphen)(FPDF_TEXTPAGE text_page, int index);
  unsigned long (*FPDFText_GetFontInfo)(FPDF_TEXTPAGE text_page, int index, void* buffer,
                                        unsigned long buflen, int* flags);
  int (*FPDFText_GetFontWeight)(FPDF_TEXTPAGE text_page, int index);
  FPDF_PAGEOBJECT (*FPDFText_GetTextObject)(FPDF_TEXTPAGE text_page, int index);

  // fpdf_edit.h
  int (*FPDFPage_GetRotation)(FPDF_PAGE page);
  int (*FPDFPage_CountObjects)(FPDF_PAGE page);
  FPDF_PAGEOBJECT (*FPDFPage_GetObject)(FPDF_PAGE page, int index);
  int (*FPDFPageObj_GetType)(FPDF_PAGEOBJECT page_object);
  FPDF_BOOL(*FPDFPageObj_GetBounds)
  (FPDF_PAGEOBJECT page_object, float* left, float* bottom, float* right, float* top);
  FPDF_BOOL (*FPDFPageObj_GetMatrix)(FPDF_PAGEOBJECT page_object, FS_MATRIX* matrix);
  int (*FPDFFormObj_CountObjects)(FPDF_PAGEOBJECT form_object);
  FPDF_PAGEOBJECT (*FPDFFormObj_GetObject)(FPDF_PAGEOBJECT form_object, unsigned long index);
  FPDF_BOOL (*FPDFPath_GetDrawMode)(FPDF_PAGEOBJECT path, int* fillmode, FPDF_BOOL* stroke);
  FPDF_BOOL (*FPDFPageObj_GetFillColor)
  (FPDF_PAGEOBJECT page_object, unsigned int* R, unsigned int* G, unsigned int* B, unsigned int* A);
  FPDF_BITMAP (*FPDFImageObj_GetBitmap)(FPDF_PAGEOBJECT image_object);
  FPDF_BOOL (*FPDFImageObj_GetImagePixelSize)(FPDF_PAGEOBJECT image_object, unsigned int* width,
                                              unsigned int* height);
  FPDF_FONT (*FPDFTextObj_GetFont)(FPDF_PAGEOBJECT text);
  int (*FPDFTextObj_GetTextRenderMode)(FPDF_PAGEOBJECT text);
  FPDF_BOOL (*FPDFFont_GetItalicAngle)(FPDF_FONT font, int* angle);

  // fpdf_doc.h
  FPDF_BOOKMARK (*FPDFBookmark_GetFirstChild)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
  FPDF_BOOKMARK (*FPDFBookmark_GetNextSibling)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
  unsigned long (*FPDFBookmark_GetTitle)(FPDF_BOOKMARK bookmark, void* buffer,
                                         unsigned long buflen);
  FPDF_DEST (*FPDFBookmark_GetDest)(FPDF_DOCUMENT document, FPDF_BOOKMARK bookmark);
  int (*FPDFDest_GetDestPageIndex)(FPDF_DOCUMENT document, FPDF_DEST dest);
  FPDF_BOOL(*FPDFDest_GetLocationInPage)
  (FPDF_DEST dest, FPDF_BOOL* has_x, FPDF_BOOL* has_y, FPDF_BOOL* has_zoom, float* x, float* y,
   float* zoom);
};

}  // namespace vorlin_core::pdfium
