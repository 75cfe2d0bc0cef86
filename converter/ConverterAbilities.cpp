#include "converter/ConverterAbilities.h"

#include "converter/CodecFragment.h"
#include "converter/SourceExtensions.h"

#include <algorithm>

bool TConverterAbilities::Offers(const QString& fragment) const
{
    const QStringList chosen = EncodersChosenBy(fragment);
    return std::all_of(chosen.begin(), chosen.end(), [&](const QString& encoder) {
        if (IsHardwareEncoder(encoder))
            return encoders && encoders->Has(encoder) && trials.value(NormalFragment(fragment), false);
        return !encoders || encoders->Has(encoder);
    });
}

QStringList TConverterAbilities::SourceExtensions() const
{
    return sourceExtensions ? *sourceExtensions : WellKnownVideoExtensions();
}

QStringList TConverterAbilities::UntriedHardwareEntries(const QStringList& fragments) const
{
    QStringList untried;
    if (!encoders)
        return untried;
    for (const QString& fragment : fragments) {
        const QStringList chosen = EncodersChosenBy(fragment);
        const bool hardware = std::any_of(chosen.begin(), chosen.end(), [](const QString& encoder) {
            return IsHardwareEncoder(encoder);
        });
        const bool allPresent = std::all_of(chosen.begin(), chosen.end(), [&](const QString& encoder) {
            return encoders->Has(encoder);
        });
        const QString normal = NormalFragment(fragment);
        if (hardware && allPresent && !trials.contains(normal) && !untried.contains(normal))
            untried.append(normal);
    }
    return untried;
}
