#include "editor/setup_fields.h"

#include "platform/text.h"

namespace qv::editor {

using panels::kSetupKeys;
using panels::SetupFields;

namespace {

// Serves the field texts as if they were the Setup keys of a file.
class FieldsReader : public panels::ValueReader {
 public:
  explicit FieldsReader(const SetupFields& fields) : fields_(fields) {}
  std::string Read(std::string_view, std::string_view key, std::string_view) const override {
    for (size_t i = 0; i < kSetupKeys.size(); ++i)
      if (EqualsNoCase(kSetupKeys[i], key)) return fields_[i];
    return {};
  }

 private:
  const SetupFields& fields_;
};

}  // namespace

SetupFields LoadSetupFields(const panels::ValueReader& file, int32_t screenWidth,
                            int32_t screenHeight, int32_t windowWidth, int32_t windowHeight) {
  const auto get = [&](std::string_view key, std::string_view def) {
    return file.Read(panels::kSetupSection, key, def);
  };
  const auto keep = [](std::string text, bool ok, std::string_view fallback) {
    return ok ? text : std::string(fallback);
  };
  SetupFields f;
  f[0] = get("Description", "");
  const std::string width = get("ButtonWidth", "1200");
  f[1] = keep(width, panels::ReadInt(width) > 10, "1200");
  const std::string height = get("ButtonHeight", "1200");
  f[2] = keep(height, panels::ReadInt(height) > 10, "400");
  const std::string rows = get("Rows", "2");
  f[3] = keep(rows, panels::ReadInt(rows) < 100, "2");
  const std::string cols = get("Cols", "8");
  f[4] = keep(cols, panels::ReadInt(cols) < 100, "10");
  const std::string top = get("Top", "");
  f[5] =
      panels::ReadInt(top) > 0 ? top : DecimalText(panels::DefaultTop(screenWidth, windowHeight));
  const std::string left = get("Left", "");
  f[6] = panels::ReadInt(left) > 0 ? left
                                   : DecimalText(panels::DefaultLeft(screenHeight, windowWidth));
  f[7] = DecimalText(panels::ReadInt(get("OnTop", "1")) != 0 ? 1 : 0);
  f[8] = DecimalText(panels::ReadInt(get("AutoHide", "0")) != 0 ? 1 : 0);
  f[9] = DecimalText(panels::ReadInt(get("SysTray", "0")) != 0 ? 1 : 0);
  f[10] = panels::ColorText13(
      panels::ReadColor(get(panels::kBackColorRead, DecimalText(panels::kButtonFace))));
  static constexpr std::string_view kGapDefaults[6] = {"60", "60", "80", "120", "60", "60"};
  for (size_t i = 0; i < 6; ++i)
    f[11 + i] = DecimalText(panels::ReadInt(get(kSetupKeys[11 + i], kGapDefaults[i])));
  return f;
}

panels::PanelSetup SetupFromFields(const SetupFields& fields) {
  return panels::ReadSetup(FieldsReader(fields), panels::SetupReader::kLayoutEditor);
}

void AddSetupWrites(profile::Batch& batch, const SetupFields& fields) {
  for (size_t i = 0; i < kSetupKeys.size(); ++i)
    batch.WriteKey(panels::kSetupSection, kSetupKeys[i], fields[i]);
}

}  // namespace qv::editor
