#include "weave/ui/captionwidth.h"

#include <QDialog>
#include <QEvent>
#include <QFontMetrics>

namespace {

// Room for the title bar's icon and its three buttons.
constexpr int TitleBarButtons = 120;

void widen(QDialog *dialog)
{
    QFont font = dialog->font();
    font.setBold(true);
    const int caption = QFontMetrics(font).horizontalAdvance(dialog->windowTitle());
    dialog->setMinimumWidth(caption + TitleBarButtons);
}

// Widens the dialog again when its caller gives it another caption.
class TCaptionWatch : public QObject {
public:
    explicit TCaptionWatch(QDialog *dialog)
        : QObject(dialog)
        , m_dialog(dialog)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_dialog && event->type() == QEvent::WindowTitleChange)
            widen(m_dialog);
        return false;
    }

private:
    QDialog *m_dialog;
};

} // namespace

void WidenForCaption(QDialog *dialog)
{
    widen(dialog);
    dialog->installEventFilter(new TCaptionWatch(dialog));
}
