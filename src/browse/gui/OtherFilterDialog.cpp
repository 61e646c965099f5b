#include "browse/gui/OtherFilterDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QWidget* optionRow(QWidget* parent, QLineEdit* field, QRadioButton* (&options)[3])
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field);
    auto* group = new QButtonGroup(row);
    const char* captions[] = {"Less than", "Equal", "Greater than"};
    for (int i = 0; i < 3; ++i) {
        options[i] = new QRadioButton(QString::fromLatin1(captions[i]), row);
        group->addButton(options[i]);
        layout->addWidget(options[i]);
    }
    return row;
}

Comparison chosen(QRadioButton* const (&options)[3])
{
    if (options[0]->isChecked())
        return Comparison::Less;
    if (options[2]->isChecked())
        return Comparison::Greater;
    return Comparison::Equal;
}

void choose(QRadioButton* const (&options)[3], Comparison option)
{
    options[option == Comparison::Less ? 0 : option == Comparison::Equal ? 1 : 2]->setChecked(true);
}

} // namespace

OtherFilterDialog::OtherFilterDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Other Filter"));
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    fileName_ = new QLineEdit(this);
    fileName_->setToolTip(QStringLiteral("Name patterns separated by ; (with ^ the case counts)"));
    form->addRow(QStringLiteral("File name"), fileName_);
    nameLength_ = new QLineEdit(this);
    nameLength_->setValidator(new QIntValidator(0, 32767, nameLength_));
    form->addRow(QStringLiteral("File name length"), optionRow(this, nameLength_, lengthOptions_));
    fileSize_ = new QLineEdit(this);
    fileSize_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,18}")), fileSize_));
    form->addRow(QStringLiteral("File size (bytes)"), optionRow(this, fileSize_, sizeOptions_));
    outer->addLayout(form);

    auto* attributes = new QGroupBox(QStringLiteral("File attributes"), this);
    auto* attrLayout = new QHBoxLayout(attributes);
    hidden_ = new QCheckBox(QStringLiteral("Hidden"), attributes);
    normal_ = new QCheckBox(QStringLiteral("Normal"), attributes);
    readOnly_ = new QCheckBox(QStringLiteral("ReadOnly"), attributes);
    system_ = new QCheckBox(QStringLiteral("System"), attributes);
    for (QCheckBox* box : {hidden_, normal_, readOnly_, system_})
        attrLayout->addWidget(box);
    outer->addWidget(attributes);

    auto* buttons = new QHBoxLayout;
    auto* set = new QPushButton(QStringLiteral("SetOtherFilter"), this);
    set->setObjectName(QStringLiteral("SetOtherFilter"));
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    buttons->addStretch();
    buttons->addWidget(set);
    buttons->addWidget(clear);
    buttons->addWidget(exit);
    outer->addLayout(buttons);
    set->setDefault(true);

    connect(set, &QPushButton::clicked, this, [this] { Q_EMIT apply(fields()); });
    connect(clear, &QPushButton::clicked, this, &OtherFilterDialog::clearFields);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    setFields(OtherFilterFields());
}

void OtherFilterDialog::setFields(const OtherFilterFields& f)
{
    fileName_->setText(f.fileName);
    nameLength_->setText(f.nameLength);
    fileSize_->setText(f.fileSize);
    choose(lengthOptions_, f.nameLengthOption);
    choose(sizeOptions_, f.fileSizeOption);
    hidden_->setChecked(f.hidden);
    normal_->setChecked(f.normal);
    readOnly_->setChecked(f.readOnly);
    system_->setChecked(f.system);
}

OtherFilterFields OtherFilterDialog::fields() const
{
    OtherFilterFields f;
    f.fileName = fileName_->text();
    f.nameLength = nameLength_->text();
    f.nameLengthOption = chosen(lengthOptions_);
    f.fileSize = fileSize_->text();
    f.fileSizeOption = chosen(sizeOptions_);
    f.hidden = hidden_->isChecked();
    f.normal = normal_->isChecked();
    f.readOnly = readOnly_->isChecked();
    f.system = system_->isChecked();
    return f;
}

void OtherFilterDialog::clearFields()
{
    fileName_->clear();
    nameLength_->clear();
    fileSize_->clear();
    for (QCheckBox* box : {hidden_, normal_, readOnly_, system_})
        box->setChecked(false);
}
