// Test support for dialogs driven as a user drives them: the steps taken at the modal windows of a
// command (the program's file dialog: a name typed, a file type chosen, saved; the questions it
// asks), and Qt's replace question.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputMethodEvent>
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
            if (!TypeName(box, name))
                return false;
            SaveButton(box)->click();
            return true;
        });
    }
    // The name typed, and nothing else done yet.
    void Type(const QString& name) {
        OnDialog([name](QFileDialog& box) { return TypeName(box, name); });
    }
    // The file type `type` (1 the first) chosen in the list of types, one step at a time with the
    // arrow keys, as a user goes through it.
    void ChooseType(int type) {
        OnDialog([type](QFileDialog& box) {
            auto* types = box.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            while (types->currentIndex() != type - 1) {
                const int before = types->currentIndex();
                QTest::keyClick(types, types->currentIndex() < type - 1 ? Qt::Key_Down : Qt::Key_Up);
                if (types->currentIndex() == before)
                    return true; // no such type: the step is taken, the test sees the type is wrong
            }
            return true;
        });
    }
    // The name the dialog shows, kept in m_names, and nothing else done yet.
    void KeepName() {
        OnDialog([this](QFileDialog& box) {
            m_names.push_back(box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text());
            return true;
        });
    }
    void Save() {
        OnDialog([](QFileDialog& box) {
            SaveButton(box)->click();
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

    std::vector<QString> m_questions; // the texts of the questions answered, or closed unanswered
    std::vector<QString> m_titles;
    std::vector<QString> m_names; // the names the dialog showed (KeepName)
    int m_missed = 0;

private:
    using Step = std::function<bool(QWidget*)>; // false: its window is not up yet
    // Typed with the focus in the name, as a user types: the file list follows the name.  Chinese
    // characters come as an input method gives them.  False until the name has the focus.
    static bool TypeName(QFileDialog& box, const QString& name) {
        auto* edit = box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!edit->hasFocus()) {
            box.activateWindow();
            edit->setFocus();
            return false;
        }
        edit->selectAll();
        for (const QChar c : name) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(edit, c.toLatin1());
            } else {
                QInputMethodEvent input;
                input.setCommitString(QString(c));
                QApplication::sendEvent(edit, &input);
            }
        }
        return true;
    }
    static QPushButton* SaveButton(QFileDialog& box) {
        return box.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Save);
    }
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
                    Close(modal);
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
                    Close(modal);
            } else {
                m_steps.push_front(step);
            }
        });
    }
    // Closes a window no step acts on; a question's text is kept with the others.
    void Close(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_questions.push_back(box->text());
            m_titles.push_back(box->windowTitle());
        }
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
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
