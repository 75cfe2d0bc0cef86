#pragma once
// What every batch test of the window starts from: the program's window with
// a scripted converter whose outputs play, a recording power-off, and a
// temporary folder for source files.

#include "ProgramFixture.h"
#include "tst_batch_support.h"

#include <QtTest>
#include <memory>

class BatchWindowSetup {
protected:
    std::unique_ptr<ProgramFixture> fixture;
    std::unique_ptr<ScriptedConverter> converter;
    std::unique_ptr<RecordingPowerOff> powerOff;
    std::unique_ptr<QTemporaryDir> files;
    TFFmpegFrm* window = nullptr;

    void StartWindow()
    {
        fixture = std::make_unique<ProgramFixture>();
        converter = std::make_unique<ScriptedConverter>();
        window = fixture->Start();
        powerOff = std::make_unique<RecordingPowerOff>(window);
        files = std::make_unique<QTemporaryDir>();
        converter->Put("output", ScriptedConverter::PlayableOutput());
    }

    // Lets a converter that still waits end, and the window (unless a test
    // already destroyed it) return to idle before everything goes.
    void EndWindow()
    {
        converter->Put("release");
        QTRY_VERIFY(!window || IsIdle(window));
        powerOff.reset();
        fixture.reset();
        converter.reset();
        files.reset();
        window = nullptr;
    }
};
