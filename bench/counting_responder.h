#pragma once
// Any message during a bench would stop it; the timers count them instead
// and fail when there was one.
#include <cstdio>

#include "framework/message_box.h"

struct CountingResponder : CMessageBoxResponder {
    int Answer(UINT, const char* text, const char*, UINT) override {
        std::fprintf(stderr, "message: %s\n", text);
        ++messages;
        return IDOK;
    }
    void Beep(UINT) override {}
    int messages = 0;
};
