// Shared set-up of the editor tests: queued input, a captured transcript, a clean editor.
#pragma once

#include "edhost.h"
#include "hostio.h"

#include <gtest/gtest.h>

#include <string>

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        khost::hostInput().clearLineSource();
        khost::hostInput().clear();
        khost::hostInput().setEcho(true);
        khost::hostTranscript().startCapture();
        khost::resetEditorState();
    }
    void TearDown() override {
        khost::hostInput().clear();
        khost::hostTranscript().stopCapture();
    }
    void type(const std::wstring& text) { khost::hostInput().push(text); }
    // What was printed since the last call.
    std::wstring transcript() { return khost::hostTranscript().takeCaptured(); }
    static int count(const std::wstring& hay, const std::wstring& needle) {
        int n = 0;
        for (size_t p = hay.find(needle); p != std::wstring::npos; p = hay.find(needle, p + 1))
            ++n;
        return n;
    }
};
