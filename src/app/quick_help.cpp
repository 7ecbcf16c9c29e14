// The quick-help window: its tabs, texts, the close button and the message to its frame.
#include "app/quick_help.h"

#include "app/frame_ids.h"
#include "app/ribbon_icons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CDlgFastHelp::CDlgFastHelp(CWnd* owner, QWidget* parent) : QDialog(parent), m_owner(owner) {
    setObjectName(QStringLiteral("QuickHelp"));
    setWindowTitle(QStringLiteral("多功能绘图工具快捷帮助"));
    setWindowIcon(HxRibbonIcon(QStringLiteral("quick-help")));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setUsesScrollButtons(true);
    for (int i = 0; i < kPageCount; ++i) {
        auto* edit = new QPlainTextEdit(m_tabs);
        edit->setReadOnly(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setTabStopDistance(edit->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
        QString text = CString(kTexts[i]).ToQString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        edit->setPlainText(text);
        // The two long texts keep their scroll bar; the others show one when they need it.
        edit->setVerticalScrollBarPolicy(i < 2 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        m_tabs->addTab(edit, CString(kTabTitles[i]).ToQString());
    }
    m_tabs->setCurrentIndex(0);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { m_current = index; });
    layout->addWidget(m_tabs, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("更多帮助请关闭对话框后按F1键打开帮助文档！"), this), 1);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(close);
    layout->addLayout(row);
    resize(640, 460);
}

QString CDlgFastHelp::GetPageText(int index) const {
    auto* edit = qobject_cast<QPlainTextEdit*>(m_tabs->widget(index));
    return edit ? edit->toPlainText() : QString();
}

void CDlgFastHelp::done(int result) {
    QDialog::done(result);
    if (m_owner)
        m_owner->PostMessage(UM_QUICKHELP_CLOSED, WPARAM(this), 0);
}
