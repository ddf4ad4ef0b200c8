#pragma once
// TScanSession: acquiring a picture from a scanner through SANE.
// A session opens the scanner library (sane_init) and closes it when it ends (sane_exit);
// within it the user's device is opened, one picture acquired and the device closed again,
// on every road. The frames are read in bounded pieces; between pieces the caller's
// progress callback runs (the window lets its events through there) and may cancel the
// scan (sane_cancel). The device's own options are left as the device keeps them.

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

struct TScanDevice {
    QString Name; // what sane_open takes
    QString Vendor;
    QString Model;
    QString Type;
    // "Vendor Model (Name)" for the chooser.
    QString Label() const;
};

enum class TScanResult { Done, Cancelled, Failed };

class TScanSession {
public:
    TScanSession();
    ~TScanSession();
    TScanSession(const TScanSession &) = delete;
    TScanSession &operator=(const TScanSession &) = delete;

    // False with a message when the scanner library did not start.
    bool IsReady(QString *error = nullptr) const;
    // The scanners attached to this computer (none is no error).
    bool Devices(QList<TScanDevice> &devices, QString *error = nullptr);
    // Opens the named device (closing one opened before).
    bool Open(const QString &name, QString *error = nullptr);
    void Close();

    // progress gets 0 to 100 (-1 while the length of the scan is not known) and returns
    // false to cancel. Done: picture holds the scan (8-bit grey or RGB888); Cancelled and
    // Failed (with a message) leave it untouched. The scan is ended on every road.
    TScanResult Acquire(
        QImage &picture, const std::function<bool(int percent)> &progress, QString *error = nullptr);

    // The bytes one read asks for: small enough that the window answers between reads.
    static constexpr int ReadChunk = 64 * 1024;

private:
    struct Impl;
    Impl *m_impl;
};

// Writes the scanned picture as a bitmap through the shared atomic save: an 8-bit picture
// (grey) as an 8-bit bitmap, a colour one as a 24-bit bitmap.
bool WriteScanBitmap(const QImage &picture, const QString &fileName, QString *error = nullptr);
