#pragma once
// SANE's "test" backend as the only scanner, set up by the test: SANE_CONFIG_DIR points at
// a private folder whose dll.conf names the backend and whose test.conf gives the device's
// options (mode, depth, picture, geometry, ...). Each scan session reads them afresh.

#include "testutil.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class TScannerTestBackend {
public:
    TScannerTestBackend()
    {
        m_old = qgetenv("SANE_CONFIG_DIR");
        m_hadOld = qEnvironmentVariableIsSet("SANE_CONFIG_DIR");
        EXPECT_TRUE(WriteAll(m_dir.filePath("dll.conf"), "test\n"));
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(m_dir.path()));
        SetOptions("");
    }
    ~TScannerTestBackend()
    {
        if (m_hadOld)
            qputenv("SANE_CONFIG_DIR", m_old);
        else
            qunsetenv("SANE_CONFIG_DIR");
    }
    // Small pictures by default: 100 x 80 pixels (10 x 8 mm at 254 dpi), one device.
    void SetOptions(const QByteArray &lines)
    {
        EXPECT_TRUE(WriteAll(m_dir.filePath("test.conf"),
            "number_of_devices 1\nresolution 254\nbr_x 10.0\nbr_y 8.0\ntest-picture \"Color pattern\"\n"
                + lines));
    }
    void SetDevices(const QByteArray &dllConf) { EXPECT_TRUE(WriteAll(m_dir.filePath("dll.conf"), dllConf)); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
    bool m_hadOld = false;
};
