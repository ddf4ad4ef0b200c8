#include "core/base/messages.h"
#include "core/settings/sharedstate.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

namespace {
// Records every notification it receives, with the pointed-to data read during the send.
class Recorder : public QObject {
public:
    std::vector<std::tuple<int, qintptr, qintptr>> got;
    TColorPickInfo pick;
    QString fileName;
    bool event(QEvent *e) override
    {
        if (!TMessageEvent::IsNotification(e->type()))
            return QObject::event(e);
        auto *m = static_cast<TMessageEvent *>(e);
        got.emplace_back(m->Message(), m->WParam, m->LParam);
        if (m->ColorPickInfo())
            pick = *m->ColorPickInfo();
        if (m->FileName())
            fileName = *m->FileName();
        return true;
    }
};

struct Sent {
    const char *name;
    std::function<void()> send;
    int message;
    qintptr w, l;
};

std::vector<Sent> allSenders()
{
    return {
        { "cursor", [] { SendCursorPos(3, 4); }, 1125, 3, 4 },
        { "colour index", [] { SendColorIndex(17); }, 1126, 17, 0 },
        { "undo", [] { SendUndoState(2, 0); }, 1128, 2, 0 },
        { "edit", [] { SendEditState(3, 1); }, 1129, 3, 1 },
        { "child", [] { SendChildState(1); }, 1131, 1, 0 },
        { "size", [] { SendPatternSize(640, 480); }, 1132, 640, 480 },
        { "palette to child", [] { SendPaletteToChild(); }, 1133, 1, 0 },
        { "palette from child", [] { SendPaletteFromChild(); }, 1133, 0, 0 },
        { "refresh", [] { SendRefreshView(1); }, 1134, 1, 0 },
        { "repeat", [] { SendRepeatState(5); }, 1135, 5, 0 },
        { "pen", [] { SendPenWidth(); }, 1138, 3, 7 },
        { "tool", [] { SendToolChanged(); }, 1139, 0, 0 },
        { "enable", [] { SendEnableMainForm(2); }, 1140, 2, 0 },
        { "merge", [] { SendPatternMergeState(); }, 1141, 2, 0 },
        { "gross pos: column then row", [] { SendGrossPos(12, 34); }, 1142, 12, 34 },
    };
}
} // namespace

TEST(Messages, SendersReachTheMainWindowWithTheirNumbersAndValues)
{
    Recorder main;
    Hooks().MainFormHandle = &main;
    RunState().HorzWidth = 3;
    RunState().VertWidth = 7;
    for (const Sent &s : allSenders()) {
        main.got.clear();
        s.send();
        ASSERT_EQ(main.got.size(), 1u) << s.name;
        EXPECT_EQ(main.got[0], std::make_tuple(s.message, s.w, s.l)) << s.name;
    }

    main.got.clear();
    SendColorPicked(0x00FF00, TColorPickInfo { 0x00FF00, 9, 4 });
    ASSERT_EQ(main.got.size(), 1u);
    EXPECT_EQ(std::get<0>(main.got[0]), WM_COLORPICKED);
    EXPECT_EQ(std::get<1>(main.got[0]), 0x00FF00);
    EXPECT_EQ(main.pick.Index, 9);
    EXPECT_EQ(main.pick.Kind, 4);

    SendWeaveFileSaved("/w/satin.ovw");
    EXPECT_EQ(main.fileName, "/w/satin.ovw");

    // The zoom level goes to the grid's own target window.
    Recorder other;
    main.got.clear();
    SendZoomState(&other, 24);
    EXPECT_TRUE(main.got.empty());
    ASSERT_EQ(other.got.size(), 1u);
    EXPECT_EQ(other.got[0], std::make_tuple(WM_ZOOMSTATE, qintptr(24), qintptr(0)));
}

TEST(Messages, SendersDoNothingWithoutAMainWindow)
{
    // Watch every object of the application: no notification may be delivered anywhere.
    struct Watch : QObject {
        int notifications = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (TMessageEvent::IsNotification(e->type()))
                ++notifications;
            return false;
        }
    } watch;
    QCoreApplication::instance()->installEventFilter(&watch);
    Hooks().MainFormHandle = nullptr;
    for (const Sent &s : allSenders())
        s.send();
    SendColorPicked(1, TColorPickInfo {});
    SendWeaveFileSaved("x");
    SendZoomState(nullptr, 9);
    QCoreApplication::instance()->removeEventFilter(&watch);
    EXPECT_EQ(watch.notifications, 0);
}
