#include "tools/gui/InfoForm.h"

#include "archive/ExamineArchive.h"
#include "platform/Prompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace {

/// Boxes the user may change; Compress, Directory, Normal and Temporary are shown only.
bool changeable(int box)
{
    return box == 0 || box == 3 || box == 5 || box == 6;
}

} // namespace

InfoForm::InfoForm(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts)
{
    setWindowTitle(QStringLiteral("Properties"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 14; ++i) {
        captions_[size_t(i)] = new QLabel(this);
        values_[size_t(i)] = new QLabel(this);
        values_[size_t(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(captions_[size_t(i)], i, 0);
        grid->addWidget(values_[size_t(i)], i, 1);
    }
    entryCountCaption_ = new QLabel(ArchiveEntriesCaption(), this);
    entryCount_ = new QLabel(this);
    grid->addWidget(entryCountCaption_, 14, 0);
    grid->addWidget(entryCount_, 14, 1);
    creationNote_ = new QLabel(this);
    creationNote_->setWordWrap(true);

    auto* frame = new QGroupBox(QStringLiteral("File attributes"), this);
    auto* boxes = new QGridLayout(frame);
    const QStringList& names = AttributeBoxNames();
    for (int i = 0; i < 8; ++i) {
        boxes_[size_t(i)] = new QCheckBox(names[i], frame);
        boxes_[size_t(i)]->setEnabled(changeable(i));
        boxes->addWidget(boxes_[size_t(i)], i / 4, i % 4);
    }

    apply_ = new QPushButton(QStringLiteral("Apply changes to file attributes"), this);
    finished_ = new QPushButton(QStringLiteral("Finished"), this);
    // Enter closes the dialog; changing attributes takes a deliberate click.
    apply_->setAutoDefault(false);
    finished_->setDefault(true);
    connect(apply_, &QPushButton::clicked, this, &InfoForm::applyAttributeChanges);
    connect(finished_, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(apply_);
    buttons->addStretch();
    buttons->addWidget(finished_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(creationNote_);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    setMode(Mode::File);
}

void InfoForm::setMode(Mode mode)
{
    mode_ = mode;
    const bool file = mode == Mode::File;
    setCaptions(file ? FilePropertyLabels() : ArchiveEntryCaptions());
    for (QCheckBox* box : boxes_)
        box->parentWidget()->setVisible(file);
    apply_->setVisible(file);
    creationNote_->setVisible(file);
    showEntryCount(QString());
    // The one form serves every file and entry: nothing of the last one may stay.
    setWindowTitle(QStringLiteral("Properties"));
}

void InfoForm::showEntryCount(const QString& text)
{
    entryCount_->setText(text);
    entryCountCaption_->setVisible(!text.isEmpty());
    entryCount_->setVisible(!text.isEmpty());
}

void InfoForm::setCaptions(const QStringList& captions)
{
    for (int i = 0; i < 14; ++i)
        captions_[size_t(i)]->setText(captions.value(i));
}

void InfoForm::setValues(const QStringList& values)
{
    for (int i = 0; i < 14; ++i)
        values_[size_t(i)]->setText(values.value(i));
    if (mode_ == Mode::ArchiveEntry && !values.value(1).isEmpty())
        setWindowTitle(QStringLiteral("Properties - ") + values.value(1)); // the entry's name
}

void InfoForm::showFile(const QString& path)
{
    path_ = path;
    const FileInfoResult info = GetFileInfo(path, false);
    if (!info.found)
        prompts_.message(QStringLiteral("cannot read ") + path + QStringLiteral(": ") +
                         info.problem);
    QStringList shown;
    for (int i = 0; i < 14; ++i)
        shown << info.values[size_t(i)];
    setValues(shown);
    for (int i = 0; i < 8; ++i)
        boxes_[size_t(i)]->setChecked(info.values[size_t(14 + i)] == QLatin1String("True"));
    creationNote_->setText(!info.found ? QString()
                           : info.birthKnown
                               ? QStringLiteral("CreationTime is the file's birth time.")
                               : QStringLiteral("This file system keeps no birth time: "
                                                "CreationTime shows the last status change."));
    showEntryCount(info.found ? ArchiveEntryCountText(path, prompts_) : QString());
    setWindowTitle(QStringLiteral("Properties - ") + path);
}

void InfoForm::applyAttributeChanges()
{
    if (path_.isEmpty())
        return;
    AttributeChoice choice;
    choice.archive = boxes_[0]->isChecked();
    choice.hidden = boxes_[3]->isChecked();
    choice.readOnly = boxes_[5]->isChecked();
    choice.system = boxes_[6]->isChecked();
    ApplyAttributes(path_, choice, prompts_);
    showFile(path_);
}

namespace {

/// The one properties dialog of `parent`, made on first use, in `mode`; shown modally
/// after `fill` has put its values in.
void showForm(InfoForm::Mode mode, Prompts& prompts, QWidget* parent,
              const std::function<void(InfoForm&)>& fill)
{
    auto* form =
        parent ? parent->findChild<InfoForm*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    std::unique_ptr<InfoForm> owned;
    if (!form) {
        form = new InfoForm(prompts, parent);
        if (!parent)
            owned.reset(form);
    }
    form->setMode(mode);
    fill(*form);
    form->exec();
}

} // namespace

void ShowFileProperties(const QString& path, Prompts& prompts, QWidget* parent)
{
    showForm(InfoForm::Mode::File, prompts, parent, [&path](InfoForm& f) { f.showFile(path); });
}

void ShowArchiveEntryProperties(const QStringList& values, Prompts& prompts, QWidget* parent)
{
    showForm(InfoForm::Mode::ArchiveEntry, prompts, parent,
             [&values](InfoForm& f) { f.setValues(values); });
}
