#include "AboutPage.h"

#include "AppTexts.h"
#include "PageKit.h"
#include "Widgets.h"
#include "text/Format.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace partsmith {

QString PhysicalMemoryText(std::uint64_t bytes) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<qulonglong>(bytes / 1024)) + QStringLiteral(" KB");
}

QString MemoryLoadText(int percent) {
    return QString::fromStdString(FormatWide(kMemoryLoadFormat, {std::int64_t{percent}}));
}

QString OsNameText(const OsVersion& os) {
    return QString::fromStdString(FormatWide(
        kOsNameFormat, {os.family.toStdString(), std::int64_t{os.major}, std::int64_t{os.minor},
                        std::int64_t{os.build}, os.update.toStdString()}));
}

AboutPage::AboutPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("tbAbt"));

    pnlAbt = new QFrame(this);
    pnlAbt->setObjectName(QStringLiteral("pnlAbt"));
    pnlAbt->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    Image1 = MakeLabel(QStringLiteral("Image1"), QString(), pnlAbt);
    Image1->setPixmap(ProgramIcon().pixmap(32, 32));
    Image1->setFixedSize(32, 32);

    // The blue title lies 2 px to the right of the black one, which shows as its shadow.
    auto* title = new QWidget(pnlAbt);
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPixelSize(24);
    cap1 = MakeLabel(QStringLiteral("cap1"), QStringLiteral("cap1"), title);
    cap2 = MakeLabel(QStringLiteral("cap2"), QStringLiteral("cap2"), title);
    for (QLabel* cap : {cap1, cap2}) {
        cap->setFont(titleFont);
        cap->setAttribute(Qt::WA_TranslucentBackground);
    }
    QPalette black = cap1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    cap1->setPalette(black);
    QPalette blue = cap2->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    cap2->setPalette(blue);
    cap1->move(0, 0);
    cap2->move(2, 0);
    cap2->raise();
    title->setMinimumHeight(cap1->sizeHint().height() + 2);

    lblCopy = MakeLabel(QStringLiteral("lblCopy"), QString(), pnlAbt);
    Label23 =
        new LinkLabel(QStringLiteral("Label23"), QStringLiteral("Donate our project"), pnlAbt);
    Label24 = new LinkLabel(
        QStringLiteral("Label24"),
        QStringLiteral("Visit our ProjectPage (%1)").arg(QString::fromUtf8(kProjectUrl)), pnlAbt);
    Label25 = new LinkLabel(QStringLiteral("Label25"),
                            QStringLiteral("Visit my Blog (%1)").arg(QString::fromUtf8(kBlogUrl)),
                            pnlAbt);
    Label26 = new LinkLabel(QStringLiteral("Label26"), QStringLiteral("Send feedback via e-Mail"),
                            pnlAbt);

    SpeedButton1 = new QToolButton(pnlAbt);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Help Contents"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setEnabled(false);
    SpeedButton1->setVisible(false);

    Memo1 = new QPlainTextEdit(pnlAbt);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(
        QString::fromUtf8(kAboutNotice).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QPalette face = Memo1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    Memo1->setPalette(face);

    Bevel2 = new QFrame(pnlAbt);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label27 = MakeLabel(QStringLiteral("Label27"),
                        QStringLiteral("Physical Memory Available to Windows:"), Bevel2);
    PhysMem = MakeLabel(QStringLiteral("PhysMem"), QStringLiteral("PhysMem"), Bevel2);
    Label29 = MakeLabel(QStringLiteral("Label29"), QStringLiteral("Memory in Use:"), Bevel2);
    FreeRes = MakeLabel(QStringLiteral("FreeRes"), QStringLiteral("FreeRes"), Bevel2);
    TntLabel1 = MakeLabel(QStringLiteral("TntLabel1"), QStringLiteral("Operating System:"), Bevel2);
    OsName = MakeLabel(QStringLiteral("OsName"), QStringLiteral("OsName"), Bevel2);
    OsName->setWordWrap(true);

    auto* figures = new QGridLayout(Bevel2);
    figures->addWidget(Label27, 0, 0);
    figures->addWidget(PhysMem, 0, 1);
    figures->addWidget(Label29, 1, 0);
    figures->addWidget(FreeRes, 1, 1);
    figures->addWidget(TntLabel1, 2, 0, Qt::AlignTop);
    figures->addWidget(OsName, 2, 1);
    figures->setColumnStretch(1, 1);

    auto* heading = new QGridLayout;
    heading->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(title, 0, 1);
    heading->addWidget(lblCopy, 1, 1);
    heading->setColumnStretch(1, 1);

    auto* links = new QGridLayout;
    links->addWidget(Label23, 0, 0);
    links->addWidget(Label26, 0, 1);
    links->addWidget(Label24, 1, 0, 1, 2);
    links->addWidget(Label25, 2, 0, 1, 2);
    links->addWidget(SpeedButton1, 3, 0);
    links->setColumnStretch(1, 1);

    auto* panel = new QVBoxLayout(pnlAbt);
    panel->addLayout(heading);
    panel->addLayout(links);
    panel->addWidget(Memo1, 1);
    panel->addWidget(Bevel2);

    auto* page = new QVBoxLayout(this);
    page->addWidget(pnlAbt);

    connect(Label23, &LinkLabel::clicked, this,
            [this] { platform_.OpenUrl(QString::fromUtf8(kDonationUrl)); });
    connect(Label24, &LinkLabel::clicked, this,
            [this] { platform_.OpenUrl(QString::fromUtf8(kProjectUrl)); });
    connect(Label25, &LinkLabel::clicked, this,
            [this] { platform_.OpenUrl(QString::fromUtf8(kBlogUrl)); });
    connect(Label26, &LinkLabel::clicked, this,
            [this] { platform_.OpenUrl(QString::fromUtf8(kFeedbackMailto)); });
}

void AboutPage::SetTitle(const QString& title) {
    cap1->setText(title);
    cap2->setText(cap1->text());
    for (QLabel* cap : {cap1, cap2})
        cap->adjustSize();
}

void AboutPage::SetNoticeOfRights(const QString& notice) {
    lblCopy->setText(notice);
}

void AboutPage::ShowFigures(const MemoryStatus& memory, const OsVersion& os) {
    PhysMem->setText(PhysicalMemoryText(memory.totalBytes));
    FreeRes->setText(MemoryLoadText(memory.loadPercent));
    OsName->setText(OsNameText(os));
}

} // namespace partsmith
