// The form's controls: kind, containing panel, place, size, caption and tab
// order, in the order the form declares them. Positions are relative to the
// containing panel, in pixels at 96 dots per inch (the form is not scaled).
#pragma once
#include <cstdint>

#include "dialog/DialogTexts.h"

namespace dialog {

enum class TControlKind { Panel, Label, Button, ComboBox, Edit, UpDown };

// Indices into FormLayout.
enum TControlId {
    idBase,
    idAddSize,
    idDeleteSize,
    idLumaMode,
    idSizeList,
    idLabel1,
    idLabel2,
    idLumaParam,
    idParamEdit,
    idParamUpDown,
    idLabel4,
    idSIMDMode,
    ControlCount
};

struct TControlLayout {
    TControlKind Kind;
    int Parent;  // index of the containing panel; -1: the form
    int Left, Top, Width, Height;
    const char *Caption;  // CP932
    int TabOrder;         // among the siblings; -1: not a tab stop
};

constexpr int FormClientWidth = 282;
constexpr int FormClientHeight = 90;
constexpr const char *DefaultFontName = "MS UI Gothic";
constexpr int FontHeight = -12;  // a 12-pixel character cell
constexpr int ListRowHeight = 12;
constexpr int ListDropRows = 10;

using namespace dialog_text;
inline constexpr TControlLayout FormLayout[ControlCount] = {
    {TControlKind::Panel, -1, 0, 0, 282, 90, "", 0},
    {TControlKind::Button, idBase, 144, 8, 36, 20, AddButton, 0},
    {TControlKind::Button, idBase, 180, 8, 36, 20, DeleteButton, 1},
    {TControlKind::ComboBox, idBase, 52, 32, 120, 20, "", 2},
    {TControlKind::ComboBox, idBase, 52, 8, 88, 20, "", 3},
    {TControlKind::Label, idBase, 12, 12, 29, 12, SizeLabel, -1},
    {TControlKind::Label, idBase, 12, 36, 36, 12, WindowFuncLabel, -1},
    {TControlKind::Panel, idBase, 176, 30, 100, 24, RadiusCaption, 4},
    {TControlKind::Edit, idLumaParam, 48, 2, 32, 20, ParamStartText, 0},
    {TControlKind::UpDown, idLumaParam, 80, 2, 16, 20, "", 1},
    {TControlKind::Label, idBase, 12, 58, 27, 12, SimdLabel, -1},
    {TControlKind::ComboBox, idBase, 52, 56, 120, 20, "", 5},
};

}  // namespace dialog
