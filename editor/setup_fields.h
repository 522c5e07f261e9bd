// The layout editor's Setup fields: the seventeen texts it shows and saves,
// read from the file with the editor's defaults and corrections, and the
// grid they describe with the corrections every reader applies.
#pragma once

#include <cstdint>

#include "panels/panel_file.h"
#include "platform/profile.h"

namespace qv::editor {

// The field texts for a panel file. Width, height, rows and columns keep
// their text as written unless corrected; the six gaps and margins show
// their number; Top and Left show the default position when not above 0
// (computed from the screen and the editor window, all in twips).
panels::SetupFields LoadSetupFields(const panels::ValueReader& file, int32_t screenWidth,
                                    int32_t screenHeight, int32_t windowWidth,
                                    int32_t windowHeight);

// The panel the fields describe, with the corrections of a reader: a width
// or height of 10 or less, and Rows or Cols of 100 or more, take their
// defaults; the grid laid out from the fields is never larger than 99 x 99.
panels::PanelSetup SetupFromFields(const panels::SetupFields& fields);

// The seventeen Setup writes in their order.
void AddSetupWrites(profile::Batch& batch, const panels::SetupFields& fields);

}  // namespace qv::editor
