#include "converter/AbilitiesCache.h"

#include "converter/ConverterError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Raised when the layout changes, so that an older program's file is
// probed afresh instead of misread.
constexpr int FileFormat = 1;

// Sizes and nanosecond times are written as text: a JSON number may pass
// through a double and lose the last digits.
QJsonObject StampObject(const TFileStamp& stamp)
{
    return {{"path", stamp.path},
            {"target", stamp.target},
            {"size", QString::number(stamp.size)},
            {"modifiedNs", QString::number(stamp.modifiedNs)}};
}

std::optional<TFileStamp> ReadStamp(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    TFileStamp stamp;
    bool sizeRead = false;
    bool timeRead = false;
    stamp.path = object.value("path").toString();
    stamp.target = object.value("target").toString();
    stamp.size = object.value("size").toString().toLongLong(&sizeRead);
    stamp.modifiedNs = object.value("modifiedNs").toString().toLongLong(&timeRead);
    if (stamp.path.isEmpty() || stamp.target.isEmpty() || !sizeRead || !timeRead)
        return std::nullopt;
    return stamp;
}

QJsonArray TextArray(const QStringList& texts)
{
    return QJsonArray::fromStringList(texts);
}

std::optional<QStringList> ReadTextArray(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList texts;
    for (const QJsonValue& item : value.toArray()) {
        if (!item.isString())
            return std::nullopt;
        texts.append(item.toString());
    }
    return texts;
}

QJsonObject AbilitiesObject(const TConverterAbilities& abilities)
{
    QJsonObject object;
    if (abilities.encoders)
        object.insert("encoders", QJsonObject{{"video", TextArray(abilities.encoders->video)},
                                               {"audio", TextArray(abilities.encoders->audio)},
                                               {"subtitle", TextArray(abilities.encoders->subtitle)}});
    QJsonObject trials;
    for (auto trial = abilities.trials.cbegin(); trial != abilities.trials.cend(); ++trial)
        trials.insert(trial.key(), trial.value());
    object.insert("trials", trials);
    if (abilities.sourceExtensions)
        object.insert("sourceExtensions", TextArray(*abilities.sourceExtensions));
    return object;
}

std::optional<TConverterAbilities> ReadAbilities(const QJsonObject& object)
{
    TConverterAbilities abilities;
    if (object.contains("encoders")) {
        const QJsonObject encoders = object.value("encoders").toObject();
        const auto video = ReadTextArray(encoders.value("video"));
        const auto audio = ReadTextArray(encoders.value("audio"));
        const auto subtitle = ReadTextArray(encoders.value("subtitle"));
        if (!video || !audio || !subtitle)
            return std::nullopt;
        abilities.encoders = TEncoderList{*video, *audio, *subtitle};
    }
    if (!object.value("trials").isObject())
        return std::nullopt;
    const QJsonObject trials = object.value("trials").toObject();
    for (auto trial = trials.begin(); trial != trials.end(); ++trial) {
        if (!trial.value().isBool())
            return std::nullopt;
        abilities.trials.insert(trial.key(), trial.value().toBool());
    }
    if (object.contains("sourceExtensions")) {
        abilities.sourceExtensions = ReadTextArray(object.value("sourceExtensions"));
        if (!abilities.sourceExtensions)
            return std::nullopt;
    }
    return abilities;
}

} // namespace

QString DefaultAbilitiesFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/movarin/converter-abilities.json");
}

std::optional<TRememberedAbilities> LoadAbilities(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject root = QJsonDocument::fromJson(input.readAll()).object();
    if (root.value("format").toInt() != FileFormat)
        return std::nullopt;

    TRememberedAbilities remembered;
    const std::optional<TFileStamp> program = ReadStamp(root.value("program"));
    if (!program || !root.value("libraries").isArray())
        return std::nullopt;
    remembered.build.program = *program;
    for (const QJsonValue& value : root.value("libraries").toArray()) {
        const std::optional<TFileStamp> library = ReadStamp(value);
        if (!library)
            return std::nullopt;
        remembered.build.libraries.append(*library);
    }
    const std::optional<TConverterAbilities> abilities = ReadAbilities(root.value("abilities").toObject());
    if (!abilities)
        return std::nullopt;
    remembered.abilities = *abilities;
    return remembered;
}

void SaveAbilities(const QString& file, const TRememberedAbilities& remembered)
{
    QJsonArray libraries;
    for (const TFileStamp& library : remembered.build.libraries)
        libraries.append(StampObject(library));
    const QJsonObject root{{"format", FileFormat},
                           {"program", StampObject(remembered.build.program)},
                           {"libraries", libraries},
                           {"abilities", AbilitiesObject(remembered.abilities)}};

    // A folder that cannot be made shows as the save's own failure below,
    // with the system's reason.
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly) || output.write(QJsonDocument(root).toJson()) < 0 || !output.commit())
        throw EConverterError(QStringLiteral("Cannot remember what the converter can do in %1: %2")
                                  .arg(file, output.errorString())
                                  .toStdString());
}
