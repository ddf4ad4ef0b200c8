#pragma once
// Answers the modal windows a main-window command opens, as a user at the screen would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// Answers the modal windows as they come up, one step each: a step looks at the active
// modal window and returns true once it has acted on it. Actions run from a zero timer,
// outside the polling timer, so that the windows they open are polled in turn.
class TModalScript {
public:
    using Step = std::function<bool(QWidget *)>;
    explicit TModalScript(std::vector<Step> steps)
        : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (m_next < m_steps.size() && m_steps[m_next](modal)) {
                ++m_next;
                m_waited = 0;
            } else if (++m_waited > 250) {
                // A window no step expects: close it rather than wait for ever.
                m_unexpected << modal->metaObject()->className();
                m_waited = 0;
                modal->close();
            }
        });
        m_timer.start(20);
    }
    bool Done() const { return m_next == m_steps.size() && m_unexpected.isEmpty(); }
    QStringList Unexpected() const { return m_unexpected; }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_waited = 0;
    QStringList m_unexpected;
    QTimer m_timer;
};

template <class T> TModalScript::Step On(std::function<void(T *)> act)
{
    return [act](QWidget *w) {
        auto *t = qobject_cast<T *>(w);
        if (!t)
            return false;
        QTimer::singleShot(0, t, [act, t] { act(t); });
        return true;
    };
}

// Chooses the file and the filter in Qt's save dialog, once the dialog has listed its
// first folder (a name typed before that is replaced by the dialog's proposal).
inline TModalScript::Step SaveAs(const QString &fileName, const QString &filter)
{
    auto ticks = std::make_shared<int>(0);
    const TModalScript::Step act = On<QFileDialog>([fileName, filter](QFileDialog *d) {
        d->selectNameFilter(filter);
        // Typed into the name box, as a user does.
        auto *name = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(fileName);
        static_cast<QDialog *>(d)->accept(); // as the Save button does
    });
    return [ticks, act](QWidget *w) { return qobject_cast<QFileDialog *>(w) && ++*ticks > 15 && act(w); };
}
