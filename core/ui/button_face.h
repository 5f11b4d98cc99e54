// Which of a shaped button's four pre-rendered faces is shown.
#pragma once

namespace velorin::core {

enum class ButtonFace { Normal, Pressed, Hover, Disabled };

// Disabled wins over pressed, pressed over hover.
constexpr ButtonFace ChooseButtonFace(bool enabled, bool pressed, bool hover) {
    if (!enabled) return ButtonFace::Disabled;
    if (pressed) return ButtonFace::Pressed;
    if (hover) return ButtonFace::Hover;
    return ButtonFace::Normal;
}

}  // namespace velorin::core
