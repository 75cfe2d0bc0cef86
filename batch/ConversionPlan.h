#pragma once

#include "batch/SourceFacts.h"
#include "settings/OptionKinds.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>

// How one source is converted with the chosen options: which streams go
// into the MP4, the converter arguments between the source and the output,
// and what had to be adapted. Choices that cannot work for this source are
// refused before the converter starts.

// One selector's choice: the entry the user sees and the catalogue's
// fragment behind it.
struct TChoice {
    QString name;
    QByteArray fragment;
};
using TChoices = std::array<TChoice, OptionKinds.size()>;

// A choice that cannot work for the source; the message names the conflict
// and the choice to change.
class EChoiceConflict : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bitrate entry of the catalogue that asks for a constant quality instead:
// "quality:standard". What the level means depends on the encoder.
inline constexpr char QualityPrefix[] = "quality:";

// The arguments a quality level stands for with one encoder, as the
// catalogue keeps them; nothing when it keeps none.
using QualityArguments = std::function<std::optional<QByteArray>(const QByteArray& level, const QString& encoder)>;

struct TConversionPlan {
    // Command-line text: the stream selection and the options, fragments in
    // the selectors' order.
    QByteArray arguments;
    // What was adapted or left out, one sentence each, for the row's tool tip.
    QStringList notes;
};

TConversionPlan PlanConversion(const TSourceFacts& source, const TChoices& choices, const QualityArguments& quality);
