// The numeric control id that a widget carries, as its dialog template numbers it.
#pragma once

#include <QObject>
#include <QVariant>

namespace velorin::gui {

inline void SetControlId(QObject *object, int id) {
    object->setProperty("controlId", id);
}

// 0 when the object was given no id.
inline int ControlIdOf(const QObject *object) {
    return object == nullptr ? 0 : object->property("controlId").toInt();
}

}  // namespace velorin::gui
