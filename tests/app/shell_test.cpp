#include <QtTest>

#include "app/main_frame.h"
#include "app_test_support.h"

using namespace orb;

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { settings_ = test::UseTemporarySettings(); }
    void constructs() {
        CMainFrame frame;
        QVERIFY(frame.Action(57601));
    }

private:
    std::unique_ptr<QTemporaryDir> settings_;
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
