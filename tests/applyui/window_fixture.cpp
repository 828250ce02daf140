#include "window_fixture.h"

#include "common/files.h"
#include "platform/browser_launcher.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

namespace pelto::test {

WindowFixture::WindowFixture() : opened_(std::make_shared<QStringList>()) {
    ui::SetSettingsFile(settingsFile());
    ui::EnableTestMessages();
    ui::ClearTestMessages();
    auto opened = opened_;
    ui::SetBrowserLauncher([opened](const QString& path) { opened->append(path); });
}

WindowFixture::~WindowFixture() {
    ui::SetBrowserLauncher({});
    ui::SetSettingsFile(QString());
    ui::ClearTestMessages();
}

QString WindowFixture::settingsFile() const {
    return QString::fromStdString((temp_.path() / "settings.ini").string());
}

namespace {
void Poll(std::shared_ptr<std::function<void(QWidget*)>> act, int triesLeft) {
    QTimer::singleShot(10, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            (*act)(modal);
            return;
        }
        if (triesLeft > 0)
            Poll(act, triesLeft - 1);
    });
}
} // namespace

void WhenModal(std::function<void(QWidget*)> act) {
    Poll(std::make_shared<std::function<void(QWidget*)>>(std::move(act)), 300);
}

QStringList UnreachableControls(QWidget* window) {
    QStringList problems;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool interactive = qobject_cast<QAbstractButton*>(w) ||
                                 qobject_cast<QAbstractSlider*>(w) || qobject_cast<QComboBox*>(w) ||
                                 qobject_cast<QAbstractItemView*>(w);
        if (!interactive || w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
            continue;
        if (!(w->focusPolicy() & Qt::TabFocus))
            problems << w->objectName() + ": not reachable with Tab";
        if (w->accessibleName().isEmpty())
            problems << w->objectName() + ": no accessible name";
    }
    return problems;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    if (!WriteFileBytes(path, bytes))
        throw std::runtime_error("cannot write " + path.string());
}

const std::string UserPage =
    "<HTML><HEAD><TITLE>Mine</TITLE></HEAD>\r\n<BODY>\r\n<P>Hello</P>\r\n</BODY></HTML>\r\n";

ScriptRecord HeadAndExternalEffect() {
    ScriptRecord r;
    r.ScriptId = "fx";
    r.Name = "Test effect";
    r.Category = "Tests";
    r.ParameterFile = "fx.par";
    r.ItemCount = "2";
    r.ItemLocation = {"", "Head", "External"};
    r.ItemCodeFile = {"", "fx_head.dat", "fx_ext.dat"};
    r.ItemExternalName = {"", "", "fx.js"};
    r.ItemInclude = {0, 1, 1};
    r.ItemOnce = {0, 0, 0};
    r.HeaderFile = "fx.hdr";
    return r;
}

QString Q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace pelto::test
