// The hands of the person at the terminal's window: a finger image chosen
// from the device folder's samples (or dropped on the window) and laid on
// the simulated sensor while Space is held, and the cards of
// samples/cards.txt shown to the card reader one after the other.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/display.h"

class SimulatedHands : public DeviceHands {
public:
    // Shows a card to the reader (hexadecimal digits); false when it cannot.
    using CardReader = std::function<bool(const std::string& hexDigits)>;

    // `samples` holds the finger images and cards.txt; `sensor` is the
    // simulated sensor's folder. Without a card reader, cards are refused.
    SimulatedHands(std::string samples, std::string sensor, CardReader reader);

    void ChooseSample(int number) override;
    void ChooseImage(const std::string& hostPath) override;
    void PressFinger(bool down) override;
    void ShowNextCard() override;
    std::string Title() const override;

    // The BMP files of the samples folder, in file-name order.
    std::vector<std::string> SampleFiles() const;
    // The card numbers of cards.txt (hexadecimal, one a line; blank lines
    // and lines that are no card number are passed over).
    std::vector<std::string> Cards() const;

    const std::string& Chosen() const { return m_chosen; }
    // What went wrong last, empty when the last action worked; also written
    // to standard error.
    const std::string& Problem() const { return m_problem; }

private:
    void Report(const std::string& problem);

    std::string m_samples;
    std::string m_sensor;
    CardReader m_reader;
    std::string m_chosen;
    bool m_pressed = false;
    size_t m_nextCard = 0;
    std::string m_lastCard;
    std::string m_problem;
};
