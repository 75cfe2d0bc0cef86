#pragma once

class QTimer;

// The blink timer's Enabled: enabling a stopped timer ticks once at once and
// then every interval; enabling a running one changes nothing.
void SetTimerEnabled(QTimer* timer, bool enabled);
