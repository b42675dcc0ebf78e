#pragma once
// The part of Tesseract's C API (tesseract/capi.h) that the OCR stage calls, as one table of
// function pointers filled at load time, so the engine neither links nor needs Tesseract.

namespace vorlin_core::tesseract {

// Opaque handles, as capi.h declares them for C.
struct TessBaseAPI;
struct TessPageIterator;
struct TessResultIterator;
struct ETEXT_DESC;

using BOOL = int;

// TessPageSegMode: PSM_AUTO, layout analysis without orientation detection.
inline constexpr int kPageSegAuto = 3;

// TessPageIteratorLevel.
enum Level : int { kBlock = 0, kParagraph = 1, kTextLine = 2, kWord = 3, kSymbol = 4 };

struct TesseractApi {
  const char* (*TessVersion)();
  void (*TessDeleteText)(const char* text);
  void (*TessDeleteTextArray)(char** arr);
  TessBaseAPI* (*TessBaseAPICreate)();
  void (*TessBaseAPIDelete)(TessBaseAPI* handle);
  BOOL (*TessBaseAPISetVariable)(TessBaseAPI* handle, const char* name, const char* value);
  int (*TessBaseAPIInit3)(TessBaseAPI* handle, const char* datapath, const char* language);
  char** (*TessBaseAPIGetLoadedLanguagesAsVector)(const TessBaseAPI* handle);
  void (*TessBaseAPISetPageSegMode)(TessBaseAPI* handle, int mode);
  void (*TessBaseAPISetImage)(TessBaseAPI* handle, const unsigned char* imagedata, int width,
                              int height, int bytes_per_pixel, int bytes_per_line);
  void (*TessBaseAPISetSourceResolution)(TessBaseAPI* handle, int ppi);
  int (*TessBaseAPIRecognize)(TessBaseAPI* handle, ETEXT_DESC* monitor);
  TessResultIterator* (*TessBaseAPIGetIterator)(TessBaseAPI* handle);
  void (*TessBaseAPIClear)(TessBaseAPI* handle);
  void (*TessResultIteratorDelete)(TessResultIterator* handle);
  BOOL (*TessResultIteratorNext)(TessResultIterator* handle, Level level);
  char* (*TessResultIteratorGetUTF8Text)(const TessResultIterator* handle, Level level);
  float (*TessResultIteratorConfidence)(const TessResultIterator* handle, Level level);
  const TessPageIterator* (*TessResultIteratorGetPageIteratorConst)(
      const TessResultIterator* handle);
  BOOL (*TessPageIteratorIsAtBeginningOf)(const TessPageIterator* handle, Level level);
  BOOL (*TessPageIteratorBoundingBox)(const TessPageIterator* handle, Level level, int* left,
                                      int* top, int* right, int* bottom);
  BOOL (*TessPageIteratorBaseline)(const TessPageIterator* handle, Level level, int* x1, int* y1,
                                   int* x2, int* y2);
};

}  // namespace vorlin_core::tesseract
