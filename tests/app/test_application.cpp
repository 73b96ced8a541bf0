// The general error report: exceptions escaping an event handler are shown and the program goes on.

#include <QWidget>

#include "app/application.h"
#include "apptest.h"
#include "document/fileerror.h"

namespace {

class Thrower : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw FileError("/no/such/dir/x.nes", "cannot create the file");
        if (e->type() == QEvent::User + 1) throw std::runtime_error("out of range");
        if (e->type() == QEvent::User + 2) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

TEST(ApplicationTest, EscapedExceptionsAreReportedAndTheProgramGoesOn) {
    auto* app = dynamic_cast<TQuorvenApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    ScriptedPrompts prompts;
    app->SetPrompts(&prompts);
    Thrower t;
    QEvent fileError(QEvent::User), other(QEvent::Type(QEvent::User + 1)), fine(QEvent::Type(QEvent::User + 2));
    const int before = app->ReportedErrors();
    QCoreApplication::sendEvent(&t, &fileError);
    QCoreApplication::sendEvent(&t, &other);
    // Posted events go through the same report.
    QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&t, new QEvent(QEvent::Type(QEvent::User + 2)));
    QCoreApplication::processEvents();
    QCoreApplication::sendEvent(&t, &fine);
    app->SetPrompts(nullptr);

    EXPECT_EQ(app->ReportedErrors() - before, 3);
    ASSERT_EQ(prompts.log.size(), 3);
    EXPECT_EQ(prompts.log[0], "error:/no/such/dir/x.nes: cannot create the file");
    EXPECT_EQ(prompts.log[1], "error:out of range");
    EXPECT_TRUE(prompts.log[2].startsWith("error:/no/such/dir"));
    EXPECT_EQ(t.handled, 2);
    EXPECT_EQ(QCoreApplication::applicationName(), "QUORVEN EDITOR");
}

}  // namespace
