#include <QApplication>
#include <QMainWindow>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>

// The baseline of the start-up benchmark: the least a program of the editor's shape does before its first window
// is on screen (a main window with a tree and a stack of pages), saying "shown" as soon as the window is exposed and
// ending, as the editor does under the benchmark.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* splitter = new QSplitter(&window);
    auto* tree = new QTreeWidget(splitter);
    tree->setHeaderHidden(true);
    auto* top = new QTreeWidgetItem(tree, QStringList{QStringLiteral("Programs")});
    new QTreeWidgetItem(top, QStringList{QStringLiteral("Weekly programs")});
    auto* stack = new QStackedWidget(splitter);
    stack->addWidget(new QWidget(stack));
    window.setCentralWidget(splitter);
    window.showMaximized();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&window, &poll] {
        if (window.windowHandle() && window.windowHandle()->isExposed()) {
            poll.stop();
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
    });
    poll.start(0);
    return application.exec();
}
