#include "widgets/exchange_row.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "widgets/window_builder.hpp"

namespace widgets {

namespace {

constexpr int kRowStep = 360;
constexpr int kExplanationStep = 330;
constexpr int kLabelDrop = 45;

}  // namespace

ExchangeRow::ExchangeRow(const WindowBuilder& b, QWidget* parent, const ExchangeRowLayout& l)
    : QObject(parent) {
    const QString id = QString::fromLatin1(l.id);
    send_ = b.place(new QPushButton(QString::fromLatin1(l.sendCaption), parent),
                    QStringLiteral("cmdSendCommandCode") + id, l.sendLeft, l.sendTop, 1455, 375);
    connect(send_, &QPushButton::clicked, this, &ExchangeRow::sendClicked);
    requestLabel_ = b.label(parent, QStringLiteral("lblCommandCode%1Request").arg(id),
                            QStringLiteral("Request : "), l.labelLeft, l.requestTop + kLabelDrop);
    request_ = b.display(parent, QStringLiteral("txtCommandCode%1Request").arg(id), l.boxLeft,
                         l.requestTop, l.boxWidth);
    const int answerTop = l.requestTop + kRowStep;
    answerLabel_ = b.label(parent, QStringLiteral("lblCommandCode%1Answer").arg(id),
                           QStringLiteral("Answer : "), l.labelLeft, answerTop + kLabelDrop);
    answer_ = b.display(parent, QStringLiteral("txtCommandCode%1Answer").arg(id), l.boxLeft,
                        answerTop, l.boxWidth);
    const QString explainName = QStringLiteral("txtCommandCode%1AnswerExplain").arg(id);
    for (int i = 0; i < l.explanationCount; ++i) {
        QLineEdit* e =
            b.display(parent, WindowBuilder::indexed(explainName.toLatin1().constData(), i),
                      l.boxLeft, answerTop + kRowStep + kExplanationStep * i, l.boxWidth);
        e->hide();
        explanations_.push_back(e);
    }
}

void ExchangeRow::clear() {
    request_->clear();
    answer_->clear();
    for (QLineEdit* e : explanations_) {
        e->hide();
        e->clear();
    }
}

void ExchangeRow::clearForExchange() {
    request_->clear();
    answer_->clear();
    for (QLineEdit* e : explanations_) e->clear();
}

void ExchangeRow::showRequest(const QString& text) { request_->setText(text); }

void ExchangeRow::showAnswer(const QString& text) { answer_->setText(text); }

QString ExchangeRow::answer() const { return answer_->text(); }

void ExchangeRow::showExplanations(const std::vector<std::optional<QString>>& lines) {
    for (std::size_t i = 0; i < explanations_.size(); ++i) {
        QLineEdit* e = explanations_[i];
        if (i < lines.size() && lines[i]) {
            e->setText(*lines[i]);
            e->show();
        } else {
            e->hide();
            e->clear();
        }
    }
}

void ExchangeRow::setVisible(bool visible) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{send_, requestLabel_, request_, answerLabel_, answer_}) {
        w->setVisible(visible);
    }
}

}  // namespace widgets
