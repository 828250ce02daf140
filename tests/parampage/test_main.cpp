#include "test_registry.h"

#include "platform/message_box.h"

#include <QApplication>
#include <QTest>

namespace pelto::test {
std::vector<TestFactory>& RegisteredTests() {
    static std::vector<TestFactory> tests;
    return tests;
}
} // namespace pelto::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pelto::ui::EnableTestMessages();
    int failed = 0;
    for (const auto& make : pelto::test::RegisteredTests()) {
        std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
