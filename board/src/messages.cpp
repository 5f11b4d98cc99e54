#include "messages.h"

#include <cstdio>

#include "velorin.h"

namespace velorin::board {

namespace {
using Handler = void (*)(const char *, const char *, int);
Handler g_handler = nullptr;
}  // namespace

void ShowMessage(const std::string &text, const std::string &caption, MessageKind kind) {
    if (g_handler != nullptr) {
        g_handler(text.c_str(), caption.c_str(), static_cast<int>(kind));
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace velorin::board

extern "C" void Velorin_SetMessageHandler(void (*handler)(const char *, const char *, int)) {
    velorin::board::g_handler = handler;
}
