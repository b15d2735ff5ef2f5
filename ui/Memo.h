// A multi-line edit box (the standard EDIT class) holding lines of text, wrapped at its
// width; ScrollBars = ssVertical gives it a vertical scroll bar.
#pragma once

#include <string>
#include <vector>

#include "ui/Edit.h"

namespace ui {

class TMemo : public TEdit {
 public:
  explicit TMemo(TWinControl* parent);
  const char* ClassName() const override { return "TMemo"; }

  // The lines: the text split at CR LF, LF or a bare CR; empty text has no lines.
  std::vector<std::string> Lines();
  int LineCount() { return static_cast<int>(Lines().size()); }
  void SetLines(const std::vector<std::string>& lines);
  // Replaces the lines by those of a file (LF, CR LF or CR line ends); false when it
  // cannot be read (the lines stay as they were).
  bool LoadLinesFromFile(const std::string& path);

  bool SetProperty(const std::string& name, const TLayoutValue& value, TLayoutReader& reader) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool verticalScrollBar_ = false;
};

}  // namespace ui
