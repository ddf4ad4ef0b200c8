#pragma once
// SANE's "test" backend as the only scanner, set up by the test: SANE_CONFIG_DIR points at
// a private folder whose dll.conf names the backend and whose test.conf gives the device's
// options (mode, depth, picture, geometry, ...). Each scan session reads them afresh. The
// scanner library keeps the configuration folder it saw first for the whole process, so
// every test shares one folder and only rewrites the files in it.

#include "testutil.h"

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

class TScannerTestBackend {
public:
    TScannerTestBackend()
    {
        static QTemporaryDir dir;
        m_dir = &dir;
        // The library unloads its backends when a session ends; the test backend is kept
        // loaded, so that what it holds can still be named when the process ends.
        static void *const keep
            = dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
        (void)keep;
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path()));
        SetDevices("test\n");
        SetOptions("");
    }
    // Small pictures by default: 100 x 80 pixels (10 x 8 mm at 254 dpi), one device. Every
    // option the tests change is written each time (the kept backend remembers the last
    // file's values), then the test's own lines, which win.
    void SetOptions(const QByteArray &lines)
    {
        EXPECT_TRUE(WriteAll(m_dir->filePath("test.conf"),
            "number_of_devices 1\nmode Gray\ndepth 8\nhand-scanner false\nthree-pass false\n"
            "three-pass-order RGB\nresolution 254\ntl_x 0.0\ntl_y 0.0\nbr_x 10.0\nbr_y 8.0\n"
            "test-picture \"Color pattern\"\ninvert-endianess false\nread-limit false\n"
            "read-limit-size 1\nread-delay false\nread-delay-duration 1000\n"
            "read-status-code \"Default\"\n"
                + lines));
    }
    void SetDevices(const QByteArray &dllConf)
    {
        EXPECT_TRUE(WriteAll(m_dir->filePath("dll.conf"), dllConf));
    }

private:
    QTemporaryDir *m_dir = nullptr;
};
