#pragma once
// GitHub-flavoured Markdown of a document, walked through its outline.

#include <string>

#include "vorlin_core/model/document.h"

namespace vorlin_core {

enum class FigureMode { DataUri, Linked, Placeholder };

struct MarkdownOptions {
  // Fields and defaults as the renderer defines them; `to_markdown` uses the defaults.
  FigureMode figure_mode = FigureMode::Placeholder;
};

std::string render_markdown(const Document& document, const MarkdownOptions& options = {});

}  // namespace vorlin_core
