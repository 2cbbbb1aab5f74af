#include "FrameServices.h"

#include <QDialog>
#include <cerrno>
#include <cstdio>

namespace scrivo {

HarmlessServices &HarmlessServices::instance() {
    static HarmlessServices services;
    return services;
}

void HarmlessServices::playClick() {}

std::optional<std::string> HarmlessServices::chooseFile(const FileDialogRequest &) {
    return std::nullopt;
}

void HarmlessServices::showFileError(const std::string &message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

int HarmlessServices::startDetached(const std::string &, const std::vector<std::string> &) {
    return ENOSYS;
}

bool HarmlessServices::choosePrinter(QPrinter &, QWidget *) {
    return false;
}

void HarmlessServices::showInformation(QWidget *, const std::string &caption,
                                       const std::string &text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

void HarmlessServices::wait(int) {}

void HarmlessServices::displayTopic(const std::string &) {}

int HarmlessServices::run(QDialog &) {
    return QDialog::Rejected;
}

}  // namespace scrivo
