#include "editor/gridclipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace {

class TSystemClipboard : public TGridClipboard {
public:
    const QMimeData *MimeData() const override
    {
        if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return gui->clipboard()->mimeData();
        return m_local.get();
    }
    void SetMimeData(QMimeData *data) override
    {
        if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            gui->clipboard()->setMimeData(data);
            return;
        }
        m_local.reset(data);
    }

private:
    std::unique_ptr<QMimeData> m_local;
};

} // namespace

TGridClipboard &SystemGridClipboard()
{
    static TSystemClipboard clipboard;
    return clipboard;
}
