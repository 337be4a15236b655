#include "tools/iosim/device_hands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/fp/greyimage.h"
#include "platform/fp/sensorslot.h"

namespace {

constexpr char kCardsFile[] = "cards.txt";
constexpr size_t kMaxCardDigits = 16;

bool IsBmpName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char ch) {
        return static_cast<char>(std::tolower(ch));
    });
    return extension == ".bmp";
}

bool IsCardNumber(const std::string& text) {
    return !text.empty() && text.size() <= kMaxCardDigits &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

std::string Trimmed(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

SimulatedHands::SimulatedHands(std::string samples, std::string sensor, CardReader reader)
    : m_samples(std::move(samples)), m_sensor(std::move(sensor)), m_reader(std::move(reader)) {}

std::vector<std::string> SimulatedHands::SampleFiles() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_samples, error)) {
        if (entry.is_regular_file(error) && IsBmpName(entry.path())) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> SimulatedHands::Cards() const {
    std::vector<std::string> cards;
    std::ifstream file(m_samples + "/" + kCardsFile);
    for (std::string line; std::getline(file, line);) {
        const std::string card = Trimmed(line);
        if (IsCardNumber(card)) cards.push_back(card);
    }
    return cards;
}

void SimulatedHands::ChooseSample(int number) {
    const std::vector<std::string> files = SampleFiles();
    if (number < 1 || static_cast<size_t>(number) > files.size()) {
        Report("there is no finger image " + std::to_string(number) + " in " + m_samples + " (it holds " +
               std::to_string(files.size()) + ")");
        return;
    }
    ChooseImage(files[static_cast<size_t>(number) - 1]);
}

void SimulatedHands::ChooseImage(const std::string& hostPath) {
    GreyImage image;
    if (!ReadGreyBmp(hostPath, &image)) {
        Report(hostPath + " is not a finger image (an 8-, 24- or 32-bit BMP)");
        return;
    }
    m_chosen = hostPath;
    m_problem.clear();
    // A finger held on the sensor is the new one from now on.
    if (m_pressed) PressFinger(true);
}

void SimulatedHands::PressFinger(bool down) {
    if (!down) {
        m_pressed = false;
        LiftFingerFromSensor(m_sensor);
        return;
    }
    if (m_chosen.empty()) {
        Report("no finger chosen: Ctrl+1 to Ctrl+9 choose one of the samples, or drop a BMP on the window");
        return;
    }
    if (!PlaceFingerOnSensor(m_sensor, m_chosen)) {
        Report("cannot lay " + m_chosen + " on the sensor in " + m_sensor);
        return;
    }
    m_pressed = true;
    m_problem.clear();
}

void SimulatedHands::ShowNextCard() {
    const std::vector<std::string> cards = Cards();
    if (cards.empty()) {
        Report("no card to show: " + m_samples + "/" + kCardsFile + " holds no hexadecimal card number");
        return;
    }
    if (!m_reader) {
        Report("a card needs the simulated I/O controller (start with --simulate-io)");
        return;
    }
    const std::string& card = cards[m_nextCard % cards.size()];
    m_nextCard = m_nextCard % cards.size() + 1;
    if (!m_reader(card)) {
        Report("the card reader did not take card " + card);
        return;
    }
    m_lastCard = card;
    m_problem.clear();
}

std::string SimulatedHands::Title() const {
    std::string title = "Terminal";
    if (m_chosen.empty())
        title += " - no finger chosen (Ctrl+1..9)";
    else
        title += " - finger " + std::filesystem::path(m_chosen).filename().string() +
                 (m_pressed ? " on the sensor" : " (Space presses it)");
    if (!m_lastCard.empty()) title += " - card " + m_lastCard;
    return title;
}

void SimulatedHands::Report(const std::string& problem) {
    m_problem = problem;
    std::fprintf(stderr, "quillon: %s\n", problem.c_str());
}
