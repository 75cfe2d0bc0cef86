#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A D-Bus daemon of the test's own, with a configuration that activates no
// services, so nothing answers on it but what the test starts. Both the
// session and the system bus of this process point to it; that must happen
// before the process first uses either bus.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    QString Address() const { return m_address; }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
};

// A program serving on the private bus, started and ended by the test, whose
// output lines are its records.
class BusService {
public:
    BusService(const QString& program, const QStringList& arguments);
    ~BusService();
    // Every line printed so far.
    QStringList Records();
    void Write(const QByteArray& input) { m_process.write(input); }

private:
    QProcess m_process;
    QStringList m_records;
};
