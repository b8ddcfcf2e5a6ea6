#include "HelpPage.h"

#include "AppTexts.h"
#include "Platform.h"
#include "Widgets.h"
#include "text/UnicodeAdds.h"

#include <QFile>
#include <QFontDatabase>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <stdexcept>
#include <system_error>

namespace partsmith {

QString Help404Page() {
    EnsureResources();
    QFile file(QStringLiteral(":/HELP404.htm"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The page is declared and stored in Windows-1252; its text is ASCII.
    return QString::fromLatin1(file.readAll());
}

HelpPage::HelpPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("tbHelp"));
    HTMLVw = new QTextBrowser(this);
    HTMLVw->setObjectName(QStringLiteral("HTMLVw"));
    HTMLVw->setOpenLinks(false);
    HTMLVw->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    HTMLVw->document()->setDefaultFont(QFont(QStringLiteral("Times New Roman")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(HTMLVw);
    connect(HTMLVw, &QTextBrowser::anchorClicked, this, &HelpPage::FollowLink);
}

void HelpPage::LoadHelp(const std::filesystem::path& folder) {
    if (FHelpLoaded)
        return;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        HTMLVw->setHtml(Help404Page());
        return;
    }
    const std::filesystem::path index = folder / "index.htm";
    if (!FileIsPresent(index))
        throw std::runtime_error(kCantLocateFile + Utf8FromPath(index));
    HTMLVw->setSource(QUrl::fromLocalFile(QString::fromStdString(Utf8FromPath(index))));
    // Navigation is forward only: the view keeps no history.
    HTMLVw->clearHistory();
    FHelpLoaded = true;
}

void HelpPage::FollowLink(const QUrl& url) {
    if (url.isLocalFile() || url.isRelative()) {
        HTMLVw->setSource(HTMLVw->source().resolved(url));
        HTMLVw->clearHistory();
    } else {
        platform_.OpenUrl(url.toString());
    }
}

} // namespace partsmith
