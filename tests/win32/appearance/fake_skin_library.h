// What the fake skin libraries of these tests record of each call of their entry point.
#pragma once

struct FakeSkinCall {
    const unsigned char* data;
    int size;
    const char* text;
    char text_copy[64];  // the text's bytes while the call ran
    int a;
    int b;
    int c;
};

using FakeSkinCalls = int (*)();
using FakeSkinLastCall = const FakeSkinCall* (*)();
