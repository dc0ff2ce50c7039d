#include "RowName.h"
#include "app/VorlaNames.h"
#include "VorlaWindowTest.h"

#include "app/EntryBox.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace vorla_names;

namespace {

/// One event as an input method sends it: the composition shown and the text
/// committed.
struct Composition
{
    const char *preedit;
    const char *commit;
};

void send(QWidget *box, const Composition &step)
{
    QInputMethodEvent event(QString::fromUtf8(step.preedit), {});
    event.setCommitString(QString::fromUtf8(step.commit));
    QCoreApplication::sendEvent(box, &event);
}

struct CompositionCase
{
    const char *name;
    const char *typed; // keys typed before the input method's events
    std::vector<Composition> events;
    int resets;        // how often the input method is reset
    const char *box;   // the box's text before Enter
    QStringList items; // the list after Enter
};

class EntryBoxCompositionTest : public VorlaWindowTest,
                                public ::testing::WithParamInterface<CompositionCase>
{};

TEST_P(EntryBoxCompositionTest, ResetsOnlyWhenACompositionVanishesUncommitted)
{
    const CompositionCase &c = GetParam();
    auto *entry = control<EntryBox>(kEntryBox);
    int resets = 0;
    QObject::connect(entry, &EntryBox::compositionDropped, [&] { ++resets; });
    entry->setFocus();
    QTest::keyClicks(entry, QString::fromUtf8(c.typed));
    for (const Composition &step : c.events)
        send(entry, step);
    EXPECT_EQ(resets, c.resets);
    EXPECT_EQ(entry->text(), QString::fromUtf8(c.box));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(items(), c.items);
}

INSTANTIATE_TEST_SUITE_P(
    InputMethod, EntryBoxCompositionTest,
    ::testing::Values(
        // Mozc's Escape: the composition is hidden, nothing committed.
        CompositionCase{"HiddenByEscape", "", {{"９．９", ""}, {"", ""}}, 1, "", {}},
        CompositionCase{"ErasedKeyByKey",
                        "",
                        {{"９", ""}, {"９．", ""}, {"９．９", ""}, {"９．", ""}, {"９", ""}, {"", ""}},
                        1,
                        "",
                        {}},
        CompositionCase{"Committed", "", {{"−３．５", ""}, {"", "−３．５"}}, 0, "−３．５",
                        {"−３．５"}},
        CompositionCase{"CommittedWhileTheNextBegins", "", {{"１", ""}, {"２", "１"}, {"", "２"}}, 0,
                        "１２", {"１２"}},
        CompositionCase{"CancelledAfterACommit",
                        "",
                        {{"１", ""}, {"", "１"}, {"２", ""}, {"", ""}},
                        1,
                        "１",
                        {"１"}},
        CompositionCase{"EmptyEventWithoutComposition", "12.5", {{"", ""}}, 0, "12.5", {"12.5"}},
        CompositionCase{"TypedThenCancelled", "7", {{"８", ""}, {"", ""}}, 1, "7", {"7"}},
        CompositionCase{"TypedOnly", "-3.5", {}, 0, "-3.5", {"-3.5"}}),
    RowName());

using EntryBoxResetTest = VorlaWindowTest;

// An input method that answers the reset at once with a composition of its
// own that it drops again must not start another reset, or the two would
// call each other for ever.
TEST_F(EntryBoxResetTest, InputMethodsAnswerToTheResetResetsNothing)
{
    auto *entry = control<EntryBox>(kEntryBox);
    int resets = 0;
    QObject::connect(entry, &EntryBox::compositionDropped, [&] {
        if (++resets > 3)
            return; // bounds the loop this test looks for
        send(entry, {"９", ""});
        send(entry, {"", ""});
    });
    send(entry, {"９．９", ""});
    send(entry, {"", ""});
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(entry->text(), QString());
}

} // namespace
