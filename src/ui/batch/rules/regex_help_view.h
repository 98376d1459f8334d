#pragma once
// A sheet explaining the regular expressions the Find & Replace rule accepts, with worked
// examples. It changes nothing.
#include <QDialog>
#include <QList>
#include <QString>

class RegexHelpView : public QDialog {
    Q_OBJECT
public:
    struct Token {
        QString token;
        QString meaning;
    };
    struct Example {
        QString description;
        QString find;
        QString replace;
    };

    explicit RegexHelpView(QWidget* parent = nullptr);

    // Texts in the interface language of the moment the sheet was made.
    const QList<Token>& tokens() const { return m_tokens; }
    const QList<Example>& examples() const { return m_examples; }
    static QList<Token> makeTokens();
    static QList<Example> makeExamples();

private:
    QList<Token> m_tokens;
    QList<Example> m_examples;
};
