#include "batch/BatchListFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace {

constexpr const char* FileKind = "Movarin batch list";
constexpr int FileVersion = 1;

struct TStateName {
    TRowState state;
    const char* name;
};
constexpr TStateName StateNames[] = {{TRowState::Waiting, "waiting"},
                                     {TRowState::Converting, "converting"},
                                     {TRowState::Completed, "completed"},
                                     {TRowState::Failed, "failed"},
                                     {TRowState::Stopped, "stopped"}};

QString NameOf(TRowState state)
{
    for (const TStateName& known : StateNames)
        if (known.state == state)
            return QString::fromLatin1(known.name);
    return {};
}

[[noreturn]] void Refuse(const QString& why) { throw std::runtime_error(why.toStdString()); }

// Reads one row's fields; a field that is there must have its kind, one
// that is missing takes the value a new row has.
class TRowReader {
public:
    TRowReader(const QJsonObject& object, qsizetype number) : m_object(object), m_number(number) {}

    QString Text(const char* key) const { return Field(key, QJsonValue::String).toString(); }
    bool Flag(const char* key) const { return Field(key, QJsonValue::Bool).toBool(); }
    qint64 Number(const char* key) const { return qint64(Field(key, QJsonValue::Double).toDouble()); }
    QStringList Texts(const char* key) const
    {
        QStringList texts;
        for (const QJsonValue& value : Field(key, QJsonValue::Array).toArray()) {
            if (!value.isString())
                Wrong(key);
            texts << value.toString();
        }
        return texts;
    }
    TRowState State() const
    {
        const QString name = Text("state");
        for (const TStateName& known : StateNames)
            if (name == QLatin1String(known.name))
                return known.state;
        Wrong("state");
    }

private:
    QJsonValue Field(const char* key, QJsonValue::Type kind) const
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined())
            return QJsonValue(kind);
        if (value.type() != kind)
            Wrong(key);
        return value;
    }
    [[noreturn]] void Wrong(const char* key) const
    {
        Refuse(QStringLiteral("Row %1 has an unreadable %2.").arg(m_number).arg(QLatin1String(key)));
    }

    const QJsonObject& m_object;
    qsizetype m_number;
};

TBatchRow ReadRow(const QJsonValue& value, qsizetype number)
{
    if (!value.isObject())
        Refuse(QStringLiteral("Row %1 is not a row.").arg(number));
    const TRowReader field(value.toObject(), number);
    TBatchRow row;
    row.source = field.Text("source");
    if (row.source.isEmpty())
        Refuse(QStringLiteral("Row %1 has no source.").arg(number));
    row.type = field.Text("type");
    row.size = field.Text("size");
    row.playingTime = field.Text("playingTime");
    row.playingTimeRead = field.Flag("playingTimeRead");
    row.state = field.State();
    row.percent = field.Number("percent");
    row.toolTip = field.Text("toolTip");
    row.warning = field.Flag("warning");
    row.notes = field.Texts("notes");
    row.output = field.Text("output");
    row.outputExistedBefore = field.Flag("outputExistedBefore");
    return row;
}

} // namespace

QByteArray BatchListJson(const QList<TBatchRow>& rows)
{
    QJsonArray kept;
    for (const TBatchRow& row : rows)
        kept.append(QJsonObject{{"source", row.source},
                                {"type", row.type},
                                {"size", row.size},
                                {"playingTime", row.playingTime},
                                {"playingTimeRead", row.playingTimeRead},
                                {"state", NameOf(row.state)},
                                {"percent", row.percent},
                                {"toolTip", row.toolTip},
                                {"warning", row.warning},
                                {"notes", QJsonArray::fromStringList(row.notes)},
                                {"output", row.output},
                                {"outputExistedBefore", row.outputExistedBefore}});
    return QJsonDocument(QJsonObject{{"kind", FileKind}, {"version", FileVersion}, {"rows", kept}})
        .toJson(QJsonDocument::Compact);
}

QList<TBatchRow> ReadBatchListJson(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        Refuse(QStringLiteral("It is not JSON: %1 at byte %2.").arg(error.errorString()).arg(error.offset));
    const QJsonObject list = document.object();
    if (list.value("kind").toString() != QLatin1String(FileKind))
        Refuse(QStringLiteral("It is not a batch list."));
    if (list.value("version").toInt() != FileVersion)
        Refuse(QStringLiteral("Its version %1 is not one this program reads.").arg(list.value("version").toVariant().toString()));
    if (!list.value("rows").isArray())
        Refuse(QStringLiteral("It holds no rows."));
    QList<TBatchRow> rows;
    const QJsonArray kept = list.value("rows").toArray();
    rows.reserve(kept.size());
    for (qsizetype index = 0; index < kept.size(); ++index)
        rows.append(ReadRow(kept.at(index), index + 1));
    return rows;
}

TRestoredBatchList RestoreBatchRows(QList<TBatchRow> rows, const std::function<bool(const QString&)>& sourceExists)
{
    TRestoredBatchList restored;
    for (TBatchRow& row : rows) {
        QStringList failures;
        if (row.state == TRowState::Converting) {
            failures << InterruptedToolTip;
            if (!row.outputExistedBefore && !row.output.isEmpty())
                restored.unfinishedOutputs << row.output;
        }
        if (!sourceExists(row.source))
            failures << MissingSourceToolTip;
        if (failures.isEmpty())
            continue;
        row.state = TRowState::Failed;
        row.toolTip = failures.join('\n');
        row.warning = false;
        row.notes.clear();
    }
    restored.rows = std::move(rows);
    return restored;
}
