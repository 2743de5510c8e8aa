// SPDX-License-Identifier: MIT
// The Qt event that wakes the window for the MQTT client's records.
#pragma once

#include <QEvent>

namespace qm {

// Carries nothing: the records wait in the sink's RecordBacklog, and the
// window takes them from there. At most one is queued at a time.
inline constexpr QEvent::Type WM_MQTT_RECORDS = static_cast<QEvent::Type>(QEvent::User + 100);

}  // namespace qm
