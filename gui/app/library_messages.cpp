#include "gui/app/library_messages.h"

#include "velorin.h"

namespace velorin::gui {

namespace {

core::Prompts *g_prompts = nullptr;

void ShowLibraryMessage(const char *text, const char *caption, int kind) {
    if (g_prompts == nullptr) return;
    // The library's error boxes are plain OK boxes without an icon; its news comes with the
    // information icon.
    g_prompts->ShowMessage(core::Message{
        text != nullptr ? text : "", caption != nullptr ? caption : "", core::MessageButtons::Ok,
        kind == 1 ? core::MessageIcon::None : core::MessageIcon::Information});
}

}  // namespace

void RouteLibraryMessagesTo(core::Prompts *prompts) {
    g_prompts = prompts;
    Velorin_SetMessageHandler(prompts != nullptr ? &ShowLibraryMessage : nullptr);
}

}  // namespace velorin::gui
