#include "launcher/message_table.h"

#include <iterator>
#include <utility>

#include "launcher/text_lines.h"

namespace corvane {
namespace {

constexpr int kFirstReserved = 91;
constexpr int kLastReserved = 111;

// The defaults in message-file order; the reserved entries 91 to 111 are empty.
constexpr std::string_view kDefaultTexts[] = {
    "Please install the common controls update from Microsoft before attempting to install this product.",  // 1
    "Setup resource not found",  // 2
    "Setup resource decompression failure",  // 3
    "Setup database not found",  // 4
    "Runtime error in install: ",  // 5
    "bytes",  // 6
    "KB",  // 7
    "MB",  // 8
    "Attempting to get value of undefined variable ",  // 9
    "Attempting to set value of undefined variable ",  // 10
    "Copying: ",  // 11
    "Unable to copy installation data to local folders",  // 12
    "Downloading Web Media: ",  // 13
    "Unable to download installation data from the web",  // 14
    "Extracting Web Media: ",  // 15
    "Unable to extract installation data downloaded from the web",  // 16
    "Please locate your original setup sources to continue operation",  // 17
    "Original setup sources required to complete operation, sources not found",  // 18
    "General setup failure",  // 19
    "Runtime error in setup script:",  // 20
    "% complete",  // 21
    "bytes received",  // 22
    "Corvane Wizard",  // 23
    "Corvane is preparing the Corvane Wizard which will install this application. Please wait.",  // 24
    "Retry Download?",  // 25
    "Downloading of installation data from the web has failed. Would you like to try again?",  // 26
    " Proxy Information (optional) ",  // 27
    "Proxy &Server:",  // 28
    "Proxy &Port:",  // 29
    "If you choose No, setup will exit. However, you will be able to resume your download from where it left off when you re-run setup.",  // 30
    "&Yes",  // 31
    "&No",  // 32
    "Retry Extraction?",  // 33
    "Extraction of installation data downloaded from the web has failed. What would you like to do?",  // 34
    "&Download a fresh copy of the installation data.",  // 35
    "Try to &extract the existing download data again.",  // 36
    "If you choose Cancel, setup will exit. Your existing download data will be preserved.",  // 37
    "&OK",  // 38
    "&Cancel",  // 39
    "Are you sure you want to cancel?",  // 40
    "Proxy &User:",  // 41
    "Proxy Pass&word:",  // 42
    "Fatal Error",  // 43
    "Error",  // 44
    "Warning",  // 45
    "Message",  // 46
    "Files in Use",  // 47
    "Out of Disk Space",  // 48
    "Downloading of installation data from the web has failed. Please make sure you are connected to the Internet.",  // 49
    "Would you like to:",  // 50
    "Try to &resume the broken download?",  // 51
    "Download a &new copy of the data instead?",  // 52
    "If you choose Cancel, setup will exit. However, you will be able to resume your download from where it left off when you re-run setup.",  // 53
    "",  // 54
    "Locating resource",  // 55
    "Connecting to",  // 56
    "Redirecting to",  // 57
    "Beginning data transfer",  // 58
    "Transferring data",  // 59
    "Finishing data transfer",  // 60
    "Beginning component download",  // 61
    "Installing components",  // 62
    "Finishing component download",  // 63
    "Resuming broken download",  // 64
    "Requesting data",  // 65
    "CLASSID available",  // 66
    "Download data recognized",  // 67
    "Saving download information",  // 68
    "Beginning synchronous operation",  // 69
    "Finishing synchronous operation",  // 70
    "Beginning data upload",  // 71
    "Uploading data",  // 72
    "Finishing data upload",  // 73
    "Protocol CLASSID",  // 74
    "Encoding",  // 75
    "Download data recognized and verified",  // 76
    "Class install location",  // 77
    "Decoding",  // 78
    "Loading data handler",  // 79
    "Content disposition attach",  // 80
    "Download data filtered",  // 81
    "CLSID can instantiate",  // 82
    "COM services unavailable",  // 83
    "Direct bind",  // 84
    "Unrecognized download data",  // 85
    "Detecting proxy information",  // 86
    "Accept ranges",  // 87
    "A previously executed setup still has pending operations on the system. Please restart your computer before attempting to install this product.",  // 88
    "Select Setup Language",  // 89
    "Please select the language to use during the installation:",  // 90
    // 91 to 111: reserved
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "Unable to play Flash movie",  // 112
    "Will be &installed on local hard drive",  // 113
    "&Entire feature will be installed on local hard drive",  // 114
    "Entire feature will be &unavailable",  // 115
};
static_assert(std::size(kDefaultTexts) == TMessageTable::kCount);

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

}  // namespace

TMessageTable::TMessageTable() : texts_(std::begin(kDefaultTexts), std::end(kDefaultTexts)) {}

const std::string& TMessageTable::Text(int number) const {
  if (number < 1 || number > kCount) {
    return EmptyText();
  }
  return texts_[static_cast<std::size_t>(number - 1)];
}

void TMessageTable::LoadMessageFile(std::string_view content) {
  std::vector<std::string> lines = SplitTextLines(content, kCount);
  lines.resize(kCount);  // a short file empties what it lacks
  for (int number = kFirstReserved; number <= kLastReserved; ++number) {
    lines[static_cast<std::size_t>(number - 1)].clear();
  }
  texts_ = std::move(lines);
}

std::string WizardCaption(const TMessageTable& messages, std::string_view title, bool brandOff) {
  if (brandOff) {
    return std::string(title);
  }
  const std::string& wizard = messages.Text(kMessageWizard);
  return title.empty() ? wizard : std::string(title) + " - " + wizard;
}

}  // namespace corvane
