// One program for every Qt test class: `test_ui NAME [QTest options]` runs the class registered as
// NAME in a fresh QApplication, as QTEST_MAIN would.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ui_fixture.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: test_ui NAME [QTest options]; NAME is one of:\n");
        for (const auto& testClass : qx::test::uiTestClasses()) std::fprintf(stderr, "  %s\n", testClass.name);
        return 2;
    }
    const char* name = argv[1];
    for (const auto& testClass : qx::test::uiTestClasses()) {
        if (std::strcmp(testClass.name, name) != 0) continue;
        // QTest sees the program name and the options after NAME.
        std::vector<char*> args{argv[0]};
        for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
        int count = static_cast<int>(args.size());
        args.push_back(nullptr);
        QApplication app(count, args.data());
        app.setAttribute(Qt::AA_Use96Dpi, true);
        const std::unique_ptr<QObject> test = testClass.make();
        return QTest::qExec(test.get(), count, args.data());
    }
    std::fprintf(stderr, "test_ui: no test class named %s\n", name);
    return 2;
}
