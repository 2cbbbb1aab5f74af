#include "FrameServices.h"

#include <QDialog>
#include <cerrno>
#include <cstdio>

namespace scrivo {

HarmlessServices &HarmlessServices::Instance() {
    static HarmlessServices services;
    return services;
}

void HarmlessServices::PlayClick() {}

std::optional<std::string> HarmlessServices::ChooseFile(const FileDialogRequest &) {
    return std::nullopt;
}

void HarmlessServices::ShowFileError(const std::string &message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

int HarmlessServices::StartDetached(const std::string &, const std::vector<std::string> &) {
    return ENOSYS;
}

bool HarmlessServices::ChoosePrinter(QPrinter &, QWidget *) {
    return false;
}

void HarmlessServices::ShowInformation(QWidget *, const std::string &caption,
                                       const std::string &text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void HarmlessServices::Wait(int) {}

void HarmlessServices::DisplayTopic(const std::string &) {}

int HarmlessServices::Run(QDialog &) {
    return QDialog::Rejected;
}

}  // namespace scrivo
