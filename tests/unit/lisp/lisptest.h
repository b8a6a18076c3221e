// Helpers of the LISP tests: evaluation with the transcript captured.
#pragma once

#include "hostio.h"
#include "lisp.h"
#include "lisphostdeps.h"
#include "textconv.h"

#include <gtest/gtest.h>

#include <string>

struct LispRun {
    bool ok;
    std::wstring out; // everything printed, the echoed value included
};

inline LispRun runLisp(const std::wstring& text) {
    khost::hostTranscript().startCapture();
    bool ok = khost::lispEvalText(text);
    std::wstring out = khost::hostTranscript().takeCaptured();
    khost::hostTranscript().stopCapture();
    return {ok, out};
}

// The printed (prin1) form of the value of a text; errors fail the test.
inline std::wstring evalPrinted(const std::wstring& text) {
    try {
        return khost::lispPrin1(khost::lispEvaluate(text));
    } catch (const khost::LispError& e) {
        ADD_FAILURE() << "error: " << khost::toUtf8(e.message());
        return L"<error>";
    }
}

// The message of the error a text raises ("" if none).
inline std::wstring errorOf(const std::wstring& text) {
    try {
        khost::lispEvaluate(text);
    } catch (const khost::LispError& e) {
        return e.message();
    }
    return {};
}

// Every test starts with the current document's symbols forgotten.
class LispTest : public ::testing::Test {
protected:
    void SetUp() override { khost::lispForgetDocument(khost::currentDocumentKey()); }
    void TearDown() override { khost::lispForgetDocument(khost::currentDocumentKey()); }
};
