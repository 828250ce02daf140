#pragma once
// Pelto's help: HTML pages under the program folder's help/ folder, shown in one help
// window. Two entry points: the contents page (help/index.html) and topics reached by
// their context number (1001, "Script Tutorials", is help/tutorials.html).
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace pelto::ui {

inline constexpr int kTutorialsContext = 1001;

// The file name of the topic with the given context number, "" for an unknown one.
QString HelpTopicFile(int context);

// Opens the help window at the contents page. contentsFile is the full path of
// help/index.html. A missing file is reported in a message that names it.
void ShowHelpContents(QWidget* parent, const QString& contentsFile);

// Opens the help window at the topic with the given context number; the topic's file
// lies beside the contents file. An unknown number shows the contents.
void ShowHelpTopic(QWidget* parent, const QString& contentsFile, int context);

// The help window: a page view with Back, Forward and Contents.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    void Open(const QString& file, const QString& contentsFile);
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QString contentsFile_;
};

// The help window while it is open (nullptr otherwise); for tests.
HelpViewer* CurrentHelpViewer();

} // namespace pelto::ui
