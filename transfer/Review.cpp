#include "transfer/Review.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <vector>

#include "app/LangFile.h"
#include "device/DeviceData.h"
#include "device/Protocols.h"
#include "ui/CodePage.h"

using fields::Field;
using fields::Kind;
using fields::Page;

namespace {

constexpr std::string_view kArrow = " -> ";

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    text.erase(0, first == std::string::npos ? text.size() : first);
    while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
    return text;
}

std::string PageWords(Page page, const std::filesystem::path& langFile) {
    const std::string_view section = fields::PageSection(page);
    if (!section.empty()) {
        const std::string own = Trimmed(LangText(langFile, section));
        if (!own.empty()) return own;
    }
    switch (page) {
        case Page::Communication:
            return ReviewLangText(langFile, review::kPageCommunication);
        case Page::End:
            return ReviewLangText(langFile, review::kPageEnd);
        case Page::PinCode:
            return ReviewLangText(langFile, review::kPagePinCode);
        case Page::Connection:
            return ReviewLangText(langFile, review::kPageConnection);
        default:
            return std::string(fields::PageName(page));
    }
}

std::string EventWords(const std::string& list, const EventNames& names) {
    std::string words;
    std::size_t at = 0;
    while (at < list.size()) {
        const auto space = std::min(list.find(' ', at), list.size());
        const std::string number = list.substr(at, space - at);
        std::size_t event = names.size();
        std::from_chars(number.data(), number.data() + number.size(), event);
        if (!words.empty()) words += ", ";
        words += event < names.size() && !names[event].empty() ? names[event] + " (" + number + ")"
                                                               : number;
        at = space + 1;
    }
    return words;
}

// --- HTML ---

// A code-page text as HTML text: UTF-8, with markup characters escaped.
std::string Html(std::string_view text) {
    std::string out;
    for (const char c : ui::Utf8OfAnsi(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 16mm 15mm; }
body { font: 10pt/1.4 "DejaVu Sans", "Segoe UI", Arial, sans-serif; color: #111;
       max-width: 180mm; margin: 8mm auto; }
h1 { font-size: 17pt; margin: 0 0 1mm; }
h2 { font-size: 12pt; margin: 6mm 0 1.5mm; padding-bottom: 0.8mm;
     border-bottom: 0.4mm solid #555; break-after: avoid; }
h2 small { font-weight: normal; color: #666; }
p.site { font-size: 12pt; margin: 0 0 4mm; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: 0.8mm 2mm;
         border-bottom: 0.2mm solid #ccc; }
th { font-weight: normal; color: #444; width: 38%; }
thead th { font-weight: bold; color: #111; }
section { break-inside: avoid; }
)";

void Row(std::string& html, std::string_view heading, std::string_view value) {
    html += "<tr><th>" + Html(heading) + "</th><td>" + Html(value) + "</td></tr>\n";
}

struct ReportWriter {
    const HandoverInput& in;
    std::string html;

    std::string Say(ReviewText text) const { return ReviewLangText(in.langFile, text); }

    void Head() {
        const std::string title = Say(review::kReportTitle);
        html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>" + Html(title) +
               "</title>\n<style>" + std::string(kStyle) + "</style></head>\n<body>\n<h1>" +
               Html(title) + "</h1>\n";
        const DeviceData& d = in.record;
        std::string site;
        if (d.versionByte() >= layout::kVersionWithEndTexts)
            for (const int slot : {layout::kSlotEndPageText1, layout::kSlotEndPageText2})
                if (!d.slotText(slot).empty())
                    site += (site.empty() ? "" : "<br>") + Html(d.slotText(slot));
        if (!site.empty()) html += "<p class=\"site\">" + site + "</p>\n";
        html += "<table>\n";
        Row(html, Say(review::kDate), in.date);
        Row(html, Say(review::kProgram), in.programVersion);
        Row(html, Say(review::kModel), d.modelText());
        Row(html, Say(review::kIdentity), d.idText());
        Row(html, Say(review::kFirmware), d.firmwareText());
        Row(html, Say(review::kRecordVersion), std::to_string(d.versionByte()));
        html += "</table>\n";
    }

    bool InUse(Page page) const {
        const protocols::Protocol* protocol = protocols::OfPage(page);
        return !protocol || (in.record.reportFlags() & protocol->installedFlag);
    }

    // An entry of a phone book without its number: nothing the installer set up.
    bool EmptyEntry(const Field& f) const {
        const int n = fields::Ordinal(f);
        if (n == 0) return false;
        for (const Field& number : fields::NamedFields()) {
            if (number.page == f.page && number.entryKey && fields::Ordinal(number) == n)
                return fields::FieldValue(in.record, number).empty();
        }
        return false;
    }

    void Pages() {
        std::vector<Page> order{Page::Communication};
        for (const protocols::Protocol& p : protocols::kProtocols) order.push_back(p.page);
        order.insert(order.end(), {Page::Supervisor, Page::End});
        for (const Page page : order) {
            html += "<section><h2>" + Html(PageWords(page, in.langFile));
            if (!InUse(page)) html += " <small>(" + Html(Say(review::kNotInstalled)) + ")</small>";
            html += "</h2>\n<table>\n";
            for (const Field& f : fields::NamedFields()) {
                if (f.page != page || !fields::SentBack(f, in.record.versionByte()) ||
                    EmptyEntry(f))
                    continue;
                const std::string value = fields::FieldValue(in.record, f);
                Row(html, DescribeField(f, in.langFile).field,
                    DescribeValue(f, value, in.names, in.langFile));
            }
            html += "</table></section>\n";
        }
    }

    void Changes() {
        if (in.changes.empty()) return;
        html += "<section><h2>" + Html(Say(review::kSessionChanges)) +
                "</h2>\n<table><thead><tr><th>" + Html(Say(review::kField)) + "</th><th>" +
                Html(Say(review::kBefore)) + "</th><th>" + Html(Say(review::kAfter)) +
                "</th></tr></thead>\n";
        for (const fields::FieldChange& c : in.changes) {
            const FieldWords words = DescribeField(*c.field, in.langFile);
            html +=
                "<tr><th>" + Html(words.page + ", " + words.field) + "</th><td>" +
                Html(DescribeValue(*c.field, c.before, in.names, in.langFile)) + "</td><td>" +
                Html(c.field->secret ? Say(review::kSecretChanged)
                                     : DescribeValue(*c.field, c.after, in.names, in.langFile)) +
                "</td></tr>\n";
        }
        html += "</table></section>\n";
    }

    void Verification() {
        if (!in.verdict) return;
        html += "<section><h2>" + Html(Say(review::kVerification)) + "</h2>\n<p>";
        const std::string text = VerdictText(*in.verdict, in.names, in.langFile);
        std::size_t at = 0;
        while (at <= text.size()) {
            const std::size_t end = std::min(text.find('\n', at), text.size());
            html += (at ? "<br>" : "") + Html(text.substr(at, end - at));
            at = end + 1;
        }
        html += "</p></section>\n";
    }
};

}  // namespace

std::string ReviewLangText(const std::filesystem::path& langFile, ReviewText text) {
    return LangTextOr(langFile, text.section, text.english);
}

FieldWords DescribeField(const Field& field, const std::filesystem::path& langFile) {
    std::string words = field.section.empty() ? "" : Trimmed(LangText(langFile, field.section));
    if (words.empty()) words = field.label;
    if (const int n = fields::Ordinal(field); n > 0) {
        words += ' ';
        words += std::to_string(n);
    }
    return {PageWords(field.page, langFile), words};
}

std::string DescribeValue(const Field& field, const std::string& value, const EventNames& names,
                          const std::filesystem::path& langFile) {
    if (field.secret) return ReviewLangText(langFile, review::kNotShown);
    if (field.kind == Kind::Flag)
        return ReviewLangText(langFile, value == "1" ? review::kOn : review::kOff);
    if (value.empty()) return ReviewLangText(langFile, review::kEmpty);
    return field.kind == Kind::EventMask ? EventWords(value, names) : value;
}

std::string ChangeCountText(std::size_t count, const std::filesystem::path& langFile,
                            bool againstFile) {
    if (count == 0)
        return ReviewLangText(langFile, againstFile ? review::kNoneDiffers : review::kNoneChange);
    if (count == 1)
        return ReviewLangText(langFile, againstFile ? review::kOneDiffers : review::kOneChanges);
    return WithArgument(
        ReviewLangText(langFile, againstFile ? review::kManyDiffer : review::kManyChange),
        std::to_string(count));
}

std::string ChangesText(const std::vector<fields::FieldChange>& changes, const EventNames& names,
                        const std::filesystem::path& langFile) {
    if (changes.empty()) return ReviewLangText(langFile, review::kNoneChange);
    std::string text;
    for (const fields::FieldChange& c : changes) {
        const FieldWords words = DescribeField(*c.field, langFile);
        if (!text.empty()) text += '\n';
        text += words.page + ", " + words.field + ": ";
        text += c.field->secret
                    ? ReviewLangText(langFile, review::kSecretChanged)
                    : DescribeValue(*c.field, c.before, names, langFile) + std::string(kArrow) +
                          DescribeValue(*c.field, c.after, names, langFile);
    }
    return text;
}

std::string VerdictLine(const fields::Verdict& verdict, const std::filesystem::path& langFile) {
    switch (verdict.outcome) {
        case fields::Outcome::Verified:
            return ReviewLangText(langFile, review::kVerified);
        case fields::Outcome::Differs:
            break;
        case fields::Outcome::NotVerified:
            return ReviewLangText(langFile, review::kNotVerified);
    }
    std::string names;
    for (const fields::Difference& d : verdict.differences) {
        const FieldWords words = DescribeField(*d.field, langFile);
        names += (names.empty() ? "" : "; ") + words.page + ", " + words.field;
    }
    return WithArgument(ReviewLangText(langFile, review::kDiffers), names);
}

std::string VerdictText(const fields::Verdict& verdict, const EventNames& names,
                        const std::filesystem::path& langFile) {
    if (verdict.outcome != fields::Outcome::Differs) return VerdictLine(verdict, langFile);
    std::string text = ReviewLangText(langFile, review::kDiffersHeading);
    for (const fields::Difference& d : verdict.differences) {
        const FieldWords words = DescribeField(*d.field, langFile);
        text += '\n' + words.page + ", " + words.field + ": ";
        text += d.field->secret ? ReviewLangText(langFile, review::kSecretDiffers)
                                : ReviewLangText(langFile, review::kWritten) + " " +
                                      DescribeValue(*d.field, d.written, names, langFile) + ", " +
                                      ReviewLangText(langFile, review::kHeld) + " " +
                                      DescribeValue(*d.field, d.read, names, langFile);
    }
    return text;
}

std::string HandoverDate() {
    char text[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
    return text;
}

std::string HandoverReport(const HandoverInput& input) {
    ReportWriter writer{input, {}};
    writer.Head();
    writer.Pages();
    writer.Changes();
    writer.Verification();
    writer.html += "</body></html>\n";
    return writer.html;
}
