#pragma once
// The toolbar's icons: one drawn set, 32 x 32, in the same style, so the
// program needs no icon theme.

#include <QIcon>
#include <QString>

enum class ToolIcon {
    OpenFile,
    SaveFile,
    OpenDatabase,
    SaveRecord,
    PrintPreview,
    Connect,
    Disconnect,
    Measure,
    StylusPosition,
    LoadData,
    Settings,
    UnfilteredCurve,
    RoughnessCurve,
    BothCurves,
    BearingCurve,
    ShowCursors,
    HideCursors,
    Zoom,
    DefaultView,
    WholeCurve,
    Help,
    WebSite,
    Enlarge,
    Reduce,
};

QIcon DrawToolIcon(ToolIcon icon);
