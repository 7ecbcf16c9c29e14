// The inputs kept from fuzzing the expression language (the seeds and what the fuzzer found): each
// one passes every check the fuzzer makes.
#include "measure/fuzz/expression_checks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

TEST(ExpressionCorpus, KeptInputsPassEveryCheck) {
    QDir dir(QDir(qEnvironmentVariable("HALVIX_TEST_SOURCE_DIR"))
                 .filePath(QStringLiteral("tests/measure/fuzz/corpus")));
    ASSERT_TRUE(dir.exists()) << dir.path().toStdString();
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 10);
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        hx_expression_checks::CheckInput(std::string_view(data.constData(), size_t(data.size())),
                                         [&](const char* what, const CString& text) {
                                             ADD_FAILURE() << name.toStdString() << ": " << what
                                                           << "\ntext: " << text.ToUtf8();
                                         });
    }
    HxSetLocalTimeSource({});
}
