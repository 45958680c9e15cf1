#pragma once

#include <QString>
#include <array>

#include "detection/probe_sink.hpp"
#include "detection/protocols.hpp"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace widgets {
class WindowBuilder;
}

namespace detection {

class Indicator;

// The result area both detection windows share: the verdict of the last pass with its
// lamp and caption, one result box per protocol (sixteen for the memory-tag slots), the
// probe buttons, and the request and answer boxes of the exchange under way. The probes
// write it through ProbeSink; the log is the window's.
class ResultsPanel : public ProbeSink {
  public:
    struct Captions {
        const char* resultsTitle;   // "3) Result" or "4) Result"
        const char* iso14443BCard;  // the REQB box's label
        const char* requestBox;     // the names of the request and answer boxes
        const char* answerBox;
    };

    // Builds the controls into `parent`, with the panel's top left corner at `left`,`top`
    // (twips).
    ResultsPanel(QWidget* parent, const widgets::WindowBuilder& b, int left, int top,
                 const Captions& captions, core::LogSink& log);

    // Height of the panel in twips, with or without the request and answer rows.
    static int heightTwips(bool withExchange = true);

    // ProbeSink.
    void setRequest(const QString& text) override;
    void setAnswer(const QString& text) override;
    QString result(ResultBox box) const override;
    void setResult(ResultBox box, const QString& text) override;
    QString slot(int slot) const override;
    void setSlot(int slot, const QString& text) override;
    core::LogSink& log() override { return log_; }

    // The verdict display. `startRun`: the grey lamp and "No Detected Tag" come on.
    void startRun();
    void showVerdict(bool found);
    void clearCaption();
    void appendCaption(const QString& text);
    QString caption() const;

    // The four probe buttons.
    QPushButton* probeButton(ProbeButton which) const { return buttons_[which]; }
    // The request and answer boxes and their labels.
    void setExchangeVisible(bool visible);

  private:
    QLineEdit* box(ResultBox b) const;

    core::LogSink& log_;
    std::array<Indicator*, 2> shapes_{};
    QLabel* lblTagDetected_ = nullptr;
    QLabel* lblResult_ = nullptr;
    std::array<QLineEdit*, 4> results_{};
    std::array<QLineEdit*, kSlotBoxes> slots_{};
    std::array<QPushButton*, 4> buttons_{};
    std::array<QWidget*, 4> exchange_{};  // labels and boxes of request and answer
    QLineEdit* request_ = nullptr;
    QLineEdit* answer_ = nullptr;
};

}  // namespace detection
