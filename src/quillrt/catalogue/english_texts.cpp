// The built-in English texts. The table grows as more of the library reads its
// texts from here; a key must be added in byte order (the check below refuses a
// table out of order or with a repeated key at compile time).
#include "quillrt/catalogue/english_texts.h"

#include <array>

namespace quill::catalogue {
namespace {

constexpr std::array kEntries = {
    Entry{"_QYAlignerList", "Aligner List"},
    Entry{"_QYAssociateList", "Associate List"},
    Entry{"_QYAssociatesAsWordList", "Associates as WordList"},
    Entry{"_QYByte", "bytes"},
    Entry{"_QYCenturies", "centuries"},
    Entry{"_QYChargramList", "Chargram List"},
    Entry{"_QYClumpList", "Clump List"},
    Entry{"_QYClumpsAsWordList", "Clumps as WordList"},
    Entry{"_QYCollocateList", "Collocate List"},
    Entry{"_QYConcgramList", "QYConcgram List"},
    Entry{"_QYConcordanceClusterList", "Concordance Cluster List"},
    Entry{"_QYConcordanceList", "Concordance list"},
    Entry{"_QYConcordancePatternList", "Concordance Pattern List"},
    Entry{"_QYConcordancePlotList", "Concordance Plot list"},
    Entry{"_QYCustom", "custom"},
    Entry{"_QYDays", "days"},
    Entry{"_QYDecades", "decades"},
    Entry{"_QYDetailedConsistencyList", "Detailed Consistency List"},
    Entry{"_QYDetailedConsistencyRelationsList", "Detailed Consistency Relations List"},
    Entry{"_QYEnter", "<Enter>"},
    Entry{"_QYEtc", "etc."},
    Entry{"_QYFalse", "false"},
    Entry{"_QYFileReadError", "file read error : %s"},
    Entry{"_QYFilenameList", "Filename List"},
    Entry{"_QYGigabyte", "Gb"},
    Entry{"_QYHours", "hours"},
    Entry{"_QYKeyWordDatabase", "Keywords Database"},
    Entry{"_QYKeyWordDatabaseAsWordlist", "KWDBase as WordList"},
    Entry{"_QYKeyWordList", "Key word list"},
    Entry{"_QYKeyWordsAsWordlist", "KeyWords as WordList"},
    Entry{"_QYKeyWordsClusterList", "KeyWords Cluster list"},
    Entry{"_QYKeyWordsPlotList", "KeyWords Plot list"},
    Entry{"_QYKilobyte", "Kb"},
    Entry{"_QYLinkList", "Link List"},
    Entry{"_QYMarkupList", "Markup List"},
    Entry{"_QYMax", "Max"},
    Entry{"_QYMean", "Mean"},
    Entry{"_QYMegabyte", "Mb"},
    Entry{"_QYMillennia", "millennia"},
    Entry{"_QYMin", "Min"},
    Entry{"_QYMonths", "months"},
    Entry{"_QYMutualINformationList", "Mutual Information List"},
    Entry{"_QYNo", "No"},
    Entry{"_QYNotes", "Notes"},
    Entry{"_QYOverwriteXQ", "Overwrite %s?"},
    Entry{"_QYSd", "Sd."},
    Entry{"_QYSectionList", "Section List"},
    Entry{"_QYSort", "Sort"},
    Entry{"_QYSourceText", "source text"},
    Entry{"_QYSpare", "spare"},
    Entry{"_QYStatisticsList", "Statistics List"},
    Entry{"_QYTab", "<Tab>"},
    Entry{"_QYTerabyte", "Tb"},
    Entry{"_QYTextList", "Text List"},
    Entry{"_QYTimeLineList", "Timeline List"},
    Entry{"_QYTotal", "Total"},
    Entry{"_QYTrue", "true"},
    Entry{"_QYUnknown", "unknown"},
    Entry{"_QYUnknown_date_str", "<no date found>"},
    Entry{"_QYViewerList", "Viewer List"},
    Entry{"_QYWeeks", "weeks"},
    Entry{"_QYWordList", "Word list"},
    Entry{"_QYWordListIndexList", "Wordlist Index List"},
    Entry{"_QYYears", "years"},
    Entry{"_QYYes", "Yes"},
};

constexpr bool StrictlyAscending() {
  for (std::size_t i = 1; i < kEntries.size(); ++i) {
    if (!(kEntries[i - 1].key < kEntries[i].key)) return false;
  }
  return true;
}
static_assert(StrictlyAscending(), "catalogue keys must be unique and in byte order");

}  // namespace

std::span<const Entry> EnglishTexts() { return kEntries; }

}  // namespace quill::catalogue
