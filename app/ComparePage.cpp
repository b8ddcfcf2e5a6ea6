#include "ComparePage.h"

#include "GeneralError.h"
#include "MainWindow.h"
#include "PageKit.h"
#include "TaskKit.h"
#include "Widgets.h"
#include "compare/FileCompare.h"
#include "text/UnicodeAdds.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace partsmith {

ComparePage::ComparePage(GeneralErrorHandler& errors, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbCmpf"));

    grpCmpTarg = MakeGroup(QStringLiteral("grpCmpTarg"), QStringLiteral("Compare target"), this);
    lblCmpH1 = MakeLabel(QStringLiteral("lblCmpH1"),
                         QStringLiteral("Please select the of the compare file"), grpCmpTarg);
    edtCmpF1 = MakeEdit(QStringLiteral("edtCmpF1"), grpCmpTarg);
    btBrowF1 = MakeButton(QStringLiteral("btBrowF1"), QString(), grpCmpTarg);
    lblCmpH2 = MakeLabel(QStringLiteral("lblCmpH2"), QStringLiteral("Compare with"), grpCmpTarg);
    edtCmpF2 = MakeEdit(QStringLiteral("edtCmpF2"), grpCmpTarg);
    btBrowF2 = MakeButton(QStringLiteral("btBrowF2"), QString(), grpCmpTarg);

    grpCmpOpt = MakeGroup(QStringLiteral("grpCmpOpt"), QStringLiteral("Compare Options"), this);
    lblCmetH = MakeLabel(QStringLiteral("lblCmetH"), QStringLiteral("Compare methods"), grpCmpOpt);
    rbCmpch = MakeRadio(QStringLiteral("rbCmpch"), QStringLiteral("By Checksum"), grpCmpOpt);
    rbCmpch->setChecked(true);
    rbCmpfc = MakeRadio(QStringLiteral("rbCmpfc"), QStringLiteral("By File Compare"), grpCmpOpt);
    chkCmpsz =
        MakeCheck(QStringLiteral("chkCmpsz"), QStringLiteral("Compare file size"), grpCmpOpt);
    chkCmpsz->setChecked(true);

    btnCmpPws = MakeButton(QStringLiteral("btnCmpPws"), QString(), this);
    btnCmpStp = MakeButton(QStringLiteral("btnCmpStp"), QString(), this);
    btnCmpst = MakeButton(QStringLiteral("btnCmpst"), QStringLiteral("&Start Compare"), this);

    CompareOpen1 = MakeAction(this, QStringLiteral("CompareOpen1"), QStringLiteral("Compare"),
                              QStringLiteral("&Browse"), 0, true);
    CompareOpen2 = MakeAction(this, QStringLiteral("CompareOpen2"), QStringLiteral("Compare"),
                              QStringLiteral("&Browse"), 0, true);
    CompareStart = MakeAction(this, QStringLiteral("CompareStart"), QStringLiteral("Compare"),
                              QStringLiteral("Start Compare"), 2, true);
    ComparePause = MakeAction(this, QStringLiteral("ComparePause"), QStringLiteral("Compare"),
                              QStringLiteral("&Pause"), 4, false);
    CompareStop = MakeAction(this, QStringLiteral("CompareStop"), QStringLiteral("Compare"),
                             QStringLiteral("&Stop"), 3, false);
    BindButton(btBrowF1, CompareOpen1);
    BindButton(btBrowF2, CompareOpen2);
    BindButton(btnCmpst, CompareStart, true);
    BindButton(btnCmpPws, ComparePause);
    BindButton(btnCmpStp, CompareStop);

    auto* target = new QGridLayout(grpCmpTarg);
    target->addWidget(lblCmpH1, 0, 0, 1, 2);
    target->addWidget(edtCmpF1, 1, 0);
    target->addWidget(btBrowF1, 1, 1);
    target->addWidget(lblCmpH2, 2, 0, 1, 2);
    target->addWidget(edtCmpF2, 3, 0);
    target->addWidget(btBrowF2, 3, 1);

    auto* options = new QVBoxLayout(grpCmpOpt);
    options->addWidget(lblCmetH);
    options->addWidget(rbCmpch);
    options->addWidget(rbCmpfc);
    options->addWidget(chkCmpsz);
    options->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(grpCmpTarg);
    page->addWidget(grpCmpOpt, 1);
    page->addLayout(MakeTaskButtonRow(btnCmpPws, btnCmpStp, btnCmpst));
    InstallDefaultButton(this, btnCmpst);

    drpCmpF = new FileDropTarget(QStringLiteral("drpCmpF"), this);

    connect(CompareOpen1, &QAction::triggered, this,
            errors.Guard([this] { CompareOpen1Execute(); }));
    connect(CompareOpen2, &QAction::triggered, this,
            errors.Guard([this] { CompareOpen2Execute(); }));
    connect(CompareStart, &QAction::triggered, this,
            errors.Guard([this] { CompareStartExecute(); }));
    connect(drpCmpF, &FileDropTarget::dropped, this,
            [this, &errors](const QStringList& files) { errors.Run([&] { drpCmpFDrop(files); }); });
}

std::vector<CaptionRow> ComparePage::CaptionRows() const {
    return {
        {"TargetName", {}, grpCmpTarg},       {"CompareTarget1Hint", {}, lblCmpH1},
        {"CompareTarget2Hint", {}, lblCmpH2}, {"BrowseHint", {}, btBrowF1},
        {"BrowseHint", {}, btBrowF2},         {"GroupCompareOptions", {}, grpCmpOpt},
        {"CompareMethodHint", {}, lblCmetH},  {"ByChecksum", {}, rbCmpch},
        {"ByFileCompare", {}, rbCmpfc},       {"CompareFileSize", {}, chkCmpsz},
        {"CompareStart", {}, btnCmpst},
    };
}

namespace {

// The comparison runs inside the Start action; the window handles its events whenever the
// engine hands control back, so it repaints and takes drops while a large file is read.
class PageCompareHost final : public CompareHost {
public:
    explicit PageCompareHost(ComparePage& page) : page_(page), main_(MainOf(page)) {}

    void Started() override {
        page_.CompareStart->setEnabled(false);
        page_.grpCmpTarg->setEnabled(false);
        page_.grpCmpOpt->setEnabled(false);
        main_.ShowOnlyPage(kComparePage);
    }
    void AddLog(const std::string& line) override { main_.AddLog(ToQ(line)); }
    void ShowBox(bool success, const std::string& text, const std::string& caption) override {
        if (success)
            ShowTaskInfo(main_, ToQ(caption), ToQ(text));
        else
            main_.Desktop().ShowMessage(&main_, ToQ(caption), ToQ(text), BoxIcon::Error);
    }
    void Finished(const std::string& statusText) override {
        main_.ShowAllPages();
        page_.CompareStart->setEnabled(true);
        page_.grpCmpTarg->setEnabled(true);
        page_.grpCmpOpt->setEnabled(true);
        main_.Desktop().Beep();
        main_.SetStatusText(ToQ(statusText));
    }
    void PumpEvents() override { QCoreApplication::processEvents(); }

private:
    ComparePage& page_;
    TfrmMain& main_;
};

} // namespace

void ComparePage::CompareOpen1Execute() {
    if (const auto picked = MainOf(*this).Desktop().OpenFileName(&MainOf(*this), openCmp1, {}))
        edtCmpF1->setText(*picked);
}

void ComparePage::CompareOpen2Execute() {
    if (const auto picked = MainOf(*this).Desktop().OpenFileName(&MainOf(*this), openCmp2, {}))
        edtCmpF2->setText(*picked);
}

void ComparePage::drpCmpFDrop(const QStringList& files) {
    if (files.isEmpty())
        return;
    edtCmpF1->setText(files[0]);
    if (files.size() >= 2) {
        edtCmpF2->setText(files[1]);
        return;
    }
    ShowTaskError(MainOf(*this), MessageQ(Msg::DragCompareError));
}

void ComparePage::CompareStartExecute() {
    CompareParams params;
    params.File1 = PathOfField(edtCmpF1->text());
    params.File2 = PathOfField(edtCmpF2->text());
    params.Method = rbCmpfc->isChecked() ? CompareMethod::ByContent : CompareMethod::ByChecksum;
    params.CompareSize = chkCmpsz->isChecked();
    PageCompareHost host(*this);
    static_cast<void>(CompareFiles(params, host));
}

} // namespace partsmith
