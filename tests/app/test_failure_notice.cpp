// A failure keeps how it is shown (text, caption, icon) on its way out of the core, and the one
// function that shows it picks the box of its icon under its caption.

#include "app/prompter.h"
#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using Kind = test::ScriptedPrompter::Kind;

TEST(FailureNotice, ShownInTheBoxOfItsIconUnderItsCaption) {
    const struct {
        Status status;
        Kind kind;
        QString title;
    } cases[] = {
        {Status::failure(QStringLiteral("a")), Kind::Critical, kAppTitle},
        {Status::warning(QStringLiteral("b"), QStringLiteral("T")), Kind::Warning, QStringLiteral("T")},
        {Status::notice(QStringLiteral("c")), Kind::Information, kAppTitle},
        // Through a Result and under another caption, the icon stays.
        {Result<int>(Status::warning(QStringLiteral("d"))).status().titled(QStringLiteral("U")), Kind::Warning,
         QStringLiteral("U")},
    };
    for (const auto& c : cases) {
        test::ScriptedPrompter prompter;
        showNotice(prompter, c.status.notice());
        ASSERT_EQ(prompter.log().size(), 1u);
        EXPECT_EQ(prompter.log()[0].kind, c.kind) << c.status.message().toStdString();
        EXPECT_EQ(prompter.log()[0].title, c.title);
        EXPECT_EQ(prompter.log()[0].text, c.status.message());
    }
}

TEST(FailureNotice, DoneShowsNothingAndStaysDoneUnderACaption) {
    test::ScriptedPrompter prompter;
    const Status done = Status().titled(QStringLiteral("T"));
    EXPECT_TRUE(done.ok());
    showNotice(prompter, done.notice());
    EXPECT_TRUE(prompter.log().empty());
}

TEST(FailureNoticeDeathTest, AResultRefusesADoneStatus) {
    EXPECT_DEATH((void)Result<int>(Status()), "successful Status");
}

}  // namespace
}  // namespace zm
