#include "editor/ui/insertworddialog.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/numberedit.h"
#include "core/ui/okcancelbuttons.h"
#include "editor/insertword.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cmath>

namespace {

TNumricEdit *numberBox(QWidget *parent, const char *name, int min, int max, int maxLength)
{
    auto *box = new TNumricEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->SetNumStyle(TNumStyle::nsInt);
    box->SetMinValue(min);
    box->SetMaxValue(max);
    box->SetNumForEmpty(0);
    box->setMaxLength(maxLength);
    box->SetIntValue(0);
    return box;
}

QCheckBox *styleBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

const QStringList &TFrmInsertWord::FontSizes()
{
    static const QStringList sizes { "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
        "28", "36", "48", "72" };
    return sizes;
}

TFrmInsertWord::TFrmInsertWord(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInsertWord"));
    setWindowTitle(GetUiString(UiKey::Tools::Insert_Word));

    m_fontName = new QComboBox(this);
    m_fontName->setObjectName(QStringLiteral("ComboFontName"));
    QStringList families = QFontDatabase::families();
    const QString start = TInsertWord::DefaultFamily();
    if (!families.contains(start))
        families << start;
    families.sort();
    m_fontName->addItems(families);
    m_fontName->setCurrentText(start);

    m_fontSize = new QComboBox(this);
    m_fontSize->setObjectName(QStringLiteral("ComboFontSize"));
    m_fontSize->setEditable(true);
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize->addItems(FontSizes());
    // Digits only, as many as the largest size has.
    m_fontSize->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    m_fontSize->setCurrentText(QStringLiteral("12"));

    m_spacing = numberBox(this, "NdtInterCSpacing", -MaxSpacing, MaxSpacing, 6);
    m_angle = numberBox(this, "NdtAngle", 0, 999, 3);
    m_x = numberBox(this, "NdtCoordinateX", -MaxCoordinate, MaxCoordinate, 6);
    m_y = numberBox(this, "NdtCoordinateY", -MaxCoordinate, MaxCoordinate, 6);

    m_bold = styleBox(this, "Bold", GetUiString(UiKey::Insert_Word::Bold));
    m_italic = styleBox(this, "Italic", GetUiString(UiKey::Insert_Word::Italic));
    m_italic->hide();
    m_underline = styleBox(this, "UnderLine", GetUiString(UiKey::Insert_Word::UnderLine));
    m_strikeOut = styleBox(this, "StrikeOut", GetUiString(UiKey::Insert_Word::StrikeOut));

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("MemoText"));
    m_memo->setTabChangesFocus(true);

    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::Insert_Word::Font_Name), m_fontName);
    form->addRow(GetUiString(UiKey::Insert_Word::Font_Size), m_fontSize);
    form->addRow(GetUiString(UiKey::Insert_Word::Word_Margin), m_spacing);
    form->addRow(GetUiString(UiKey::Insert_Word::Angle), m_angle);
    form->addRow(GetUiString(UiKey::Insert_Word::Start_Position_X), m_x);
    form->addRow(GetUiString(UiKey::Insert_Word::Start_Position_Y), m_y);
    auto *styles = new QHBoxLayout;
    for (QCheckBox *box : { m_bold, m_italic, m_underline, m_strikeOut })
        styles->addWidget(box);
    styles->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(styles);
    layout->addWidget(m_memo, 1);
    QDialogButtonBox *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layout->addWidget(buttons);
    SetHelpKey(this, THelpContext::InsertWord);

    connect(m_fontName, &QComboBox::currentTextChanged, this, [this] { applyFont(); });
    connect(m_fontSize, &QComboBox::currentTextChanged, this, [this] { applyFont(); });
    for (QCheckBox *box : { m_bold, m_italic, m_underline, m_strikeOut })
        connect(box, &QCheckBox::toggled, this, [this] { applyFont(); });
    applyFont();
    m_memo->setFocus();
}

void TFrmInsertWord::applyFont()
{
    // An empty size (or one still being typed as 0) keeps the last one.
    bool ok = false;
    const int size = m_fontSize->currentText().toInt(&ok);
    if (ok && size >= 1 && size <= MaxSize)
        m_lastSize = size;
    m_memo->setFont(MemoFont());
}

QFont TFrmInsertWord::MemoFont() const
{
    TInsertWordValues v;
    v.Family = m_fontName->currentText();
    v.Size = m_lastSize;
    v.Bold = m_bold->isChecked();
    v.Italic = m_italic->isChecked();
    v.Underline = m_underline->isChecked();
    v.StrikeOut = m_strikeOut->isChecked();
    return InsertWordFont(v);
}

void TFrmInsertWord::SetValues(const TInsertWordValues &v)
{
    if (!v.Family.isEmpty()) {
        if (m_fontName->findText(v.Family) < 0)
            m_fontName->addItem(v.Family);
        m_fontName->setCurrentText(v.Family);
    }
    m_fontSize->setCurrentText(QString::number(std::clamp(std::abs(v.Size), 1, MaxSize)));
    m_spacing->SetIntValue(std::clamp(v.Spacing, -MaxSpacing, MaxSpacing));
    m_angle->SetIntValue(std::clamp(v.Angle, 0, 999));
    m_x->SetIntValue(std::clamp(v.X, -MaxCoordinate, MaxCoordinate));
    m_y->SetIntValue(std::clamp(v.Y, -MaxCoordinate, MaxCoordinate));
    m_bold->setChecked(v.Bold);
    m_italic->setChecked(v.Italic);
    m_underline->setChecked(v.Underline);
    m_strikeOut->setChecked(v.StrikeOut);
    m_memo->setPlainText(v.Text);
    applyFont();
}

TInsertWordValues TFrmInsertWord::Values() const
{
    TInsertWordValues v;
    v.Family = m_fontName->currentText();
    v.Size = m_lastSize;
    v.Spacing = m_spacing->GetIntValue();
    v.Angle = m_angle->GetIntValue();
    v.X = m_x->GetIntValue();
    v.Y = m_y->GetIntValue();
    v.Bold = m_bold->isChecked();
    v.Italic = m_italic->isChecked();
    v.Underline = m_underline->isChecked();
    v.StrikeOut = m_strikeOut->isChecked();
    v.Text = m_memo->toPlainText();
    return v;
}

QString TFrmInsertWord::FirstLine() const
{
    return InsertWordFirstLine(m_memo->toPlainText());
}

double TFrmInsertWord::AngleRadians() const
{
    return InsertWordAngle(m_angle->GetIntValue());
}

bool TFrmInsertWord::CheckValues(QString *error) const
{
    const QString size = m_fontSize->currentText();
    bool ok = false;
    const int value = size.toInt(&ok);
    if (!size.isEmpty() && (!ok || value < 1 || value > MaxSize))
        return Fail(error, GetUiMessage(UiKey::String::WordFontSizeRange));
    return true;
}

void TFrmInsertWord::accept()
{
    QString error;
    if (!CheckValues(&error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    QDialog::accept();
}

bool TInsertWordDialogAsker::AskInsertWord(TInsertWordValues &values)
{
    TFrmInsertWord dialog(m_parent);
    dialog.SetValues(values);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}
