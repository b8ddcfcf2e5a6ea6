// Page 5, "Help": the help pages from the Help folder, or a built-in page saying they are
// missing.
#pragma once

#include <QWidget>
#include <filesystem>

class QTextBrowser;
class QUrl;

namespace partsmith {

class Platform;

class HelpPage : public QWidget {
    Q_OBJECT
public:
    HelpPage(Platform& platform, QWidget* parent);

    // Shows index.htm of folder once it is there; until then the built-in page. A folder
    // without index.htm raises "Can't locate file: " with the file's path. Once loaded, the
    // view keeps what the user navigated to.
    void LoadHelp(const std::filesystem::path& folder);
    [[nodiscard]] bool HelpLoaded() const { return FHelpLoaded; }

    QTextBrowser* HTMLVw;

private:
    void FollowLink(const QUrl& url);

    Platform& platform_;
    bool FHelpLoaded = false;
};

// The built-in page shown when the help is not installed.
QString Help404Page();

} // namespace partsmith
