// A multi-line edit box (the standard EDIT class) holding lines of text.
#pragma once

#include <string>
#include <vector>

#include "ui/Edit.h"

namespace ui {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TEdit {
 public:
  explicit TMemo(TWinControl* parent);
  const char* ClassName() const override { return "TMemo"; }

  // The lines: the text split at CR LF, LF or a bare CR; empty text has no lines.
  std::vector<std::string> Lines();
  int LineCount() { return static_cast<int>(Lines().size()); }
  void SetLines(const std::vector<std::string>& lines);
  // Replaces the lines by those of a file (LF, CR LF or CR line ends). Throws
  // std::runtime_error naming the file when it cannot be read; the lines stay as they were.
  void LoadLinesFromFile(const std::string& path);

  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle style) { scrollBars_ = style; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = true;
};

// Splits text into lines at CR LF, LF or a bare CR; a line end at the very end adds no
// empty line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace ui
