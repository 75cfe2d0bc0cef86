#pragma once

#include "converter/EncoderList.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// What the installed ffmpeg can do, as far as it is known. Each part may
// still be unknown (at the first start with a build, until the probe in the
// background has answered); callers never wait for it, they use the part's
// stand-in:
//   encoders unknown: every catalogue entry is offered except those that
//     choose a hardware encoder, which are never offered untried;
//   source extensions unknown: WellKnownVideoExtensions().
struct TConverterAbilities {
    std::optional<TEncoderList> encoders;
    // Whether the trial encode of a hardware entry worked, by the entry's
    // NormalFragment.
    QHash<QString, bool> trials;
    std::optional<QStringList> sourceExtensions;

    // Whether a codec selector may offer the catalogue entry with this
    // fragment: ffmpeg has every encoder the fragment chooses, and a
    // hardware one has passed its trial with this very fragment. A fragment
    // that chooses no encoder ("-c:v copy", "") is always offered.
    bool Offers(const QString& fragment) const;

    // The extensions the Add dialog and drops accept, lower case, without
    // the dot, the well-known video ones first.
    QStringList SourceExtensions() const;

    // Those of the fragments that choose a hardware encoder ffmpeg has and
    // have not been tried yet, each once, as NormalFragment. None while the
    // encoders are unknown.
    QStringList UntriedHardwareEntries(const QStringList& fragments) const;

    friend bool operator==(const TConverterAbilities&, const TConverterAbilities&) = default;
};
