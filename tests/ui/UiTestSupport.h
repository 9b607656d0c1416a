#pragma once
// A main window of either edition on its own session, answered by scripted
// dialogs, and measurements made up for it.

#include "ScriptedDialogs.h"
#include "link/ComToPX510Unit.h"
#include "ui/main.h"

#include <gtest/gtest.h>
#include <memory>

// Fills `session` with a decoded measurement as after a download: ±40 μm,
// 0.8 mm, five sampling lengths, Gauss, ISO, 3000 samples.
void MakeMeasurement(TComToPX510 &session);
// A roughness profile running from -half to +half, with its bearing curve.
void SetRoughnessSpan(TComToPX510 &session, double half);

const char *EditionName(Edition edition);

class MainWindowTest : public ::testing::TestWithParam<Edition> {
protected:
    void SetUp() override;
    bool Station() const { return GetParam() == Edition::Station; }
    // The window shown, so that the chart has its real layout.
    void ShowWindow();
    void Display(); // a measurement in ComLink, then ShowMeasurement

    ScriptedDialogs Dialogs;
    TComToPX510 ComLink;
    std::unique_ptr<TForm1> Form;
};
