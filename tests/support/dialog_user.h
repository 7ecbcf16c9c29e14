// Test support for dialogs driven as a user drives them: the steps taken at the modal windows of a
// command (the program's file dialog and the questions it asks), and Qt's replace question.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

// A user at the modal windows of a command: each step waits for its window (the file dialog or
// the question) and acts on it.  A step whose window does not come in time is missed, and the
// window then up is closed so that the command ends.
class CDialogUser : public QObject {
public:
    void TypeAndSave(const QString& name) {
        OnDialog([name](QFileDialog& box) {
            // Typed with the focus in the name, as a user types: the file list follows the name.
            auto* edit = box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit->hasFocus()) {
                box.activateWindow();
                edit->setFocus();
                return false;
            }
            edit->selectAll();
            QTest::keyClicks(edit, name);
            box.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                ->button(QDialogButtonBox::Save)
                ->click();
            return true;
        });
    }
    void PressEnter() {
        OnDialog([](QFileDialog& box) {
            QTest::keyClick(box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
            return true;
        });
    }
    void ChooseNextType() {
        OnDialog([](QFileDialog& box) {
            QTest::keyClick(box.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")), Qt::Key_Down);
            return true;
        });
    }
    void Cancel() {
        OnDialog([](QFileDialog& box) {
            box.reject();
            return true;
        });
    }
    void Answer(QMessageBox::StandardButton button) {
        m_steps.push_back([this, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return false;
            m_questions.push_back(box->text());
            m_titles.push_back(box->windowTitle());
            box->button(button)->click();
            return true;
        });
    }
    // Starts acting; the command's dialog comes next.
    void Start() {
        m_acting = true;
        m_missed = 0;
        m_clock.start();
        Poll();
    }
    // Every step taken, none missed.
    bool Done() const { return m_steps.empty() && m_missed == 0; }
    // Stops acting; the steps not taken are dropped.
    void Stop() {
        m_acting = false;
        m_steps.clear();
    }

    std::vector<QString> m_questions; // the texts of the questions answered
    std::vector<QString> m_titles;
    int m_missed = 0;

private:
    using Step = std::function<bool(QWidget*)>; // false: its window is not up yet
    // An act on the file dialog; false: not ready yet.
    void OnDialog(std::function<bool(QFileDialog&)> act) {
        m_steps.push_back([act](QWidget* modal) {
            auto* box = qobject_cast<QFileDialog*>(modal);
            return box && box->isVisible() && act(*box);
        });
    }
    void Poll() {
        QTimer::singleShot(10, this, [this] {
            if (!m_acting)
                return;
            // The next poll is set before acting: an act may run the loop of a question or a dialog.
            Poll();
            QWidget* modal = QApplication::activeModalWidget();
            if (m_steps.empty()) {
                // A window no step expects: closed after a while, so that the command ends.
                if (modal && m_clock.hasExpired(10000)) {
                    ++m_missed;
                    m_clock.start();
                    QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
                }
                return;
            }
            const Step step = m_steps.front();
            m_steps.pop_front();
            if (modal && step(modal)) {
                m_clock.start();
            } else if (m_clock.hasExpired(10000)) {
                ++m_missed;
                m_clock.start();
                if (modal)
                    QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
            } else {
                m_steps.push_front(step);
            }
        });
    }
    std::deque<Step> m_steps;
    QElapsedTimer m_clock;
    bool m_acting = false;
};

// Qt's question, in Chinese, whether to replace the file `name`.
inline bool AsksToReplace(const QString& question, const char* name) {
    return question.startsWith(QString::fromUtf8(name) + QLatin1Char(' ')) &&
           question.contains(QStringLiteral("替换"));
}
