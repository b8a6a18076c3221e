#include "lisp.h"
#include "hostio.h"
#include <gtest/gtest.h>
TEST(Smoke, Runs) {
    khost::hostTranscript().startCapture();
    EXPECT_TRUE(khost::lispEvalText(L"(+ 1 2)"));
    EXPECT_EQ(khost::hostTranscript().takeCaptured(), L"3");
}
