#include "settings/ini_text.h"

#include <vector>

namespace velmora::settings::ini_text {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One physical line: its text without the terminator, and the terminator ("\n", "\r\n" or "").
struct Line {
    std::string_view text;
    std::string_view eol;
};

enum class LineKind { Section, Key, Other };

// What a line means: a section header with its name, a key line with its name and where its
// value starts and ends in the line's text, or anything else (comments, blanks, junk).
struct Meaning {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t value_begin = 0;
    std::size_t value_end = 0;
};

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        std::size_t end = nl;
        if (end > start && text[end - 1] == '\r') {
            --end;
        }
        lines.push_back({text.substr(start, end - start), text.substr(end, nl + 1 - end)});
        start = nl + 1;
    }
    return lines;
}

Meaning meaning_of(std::string_view line) {
    Meaning m;
    const auto lead = line.find_first_not_of(kBlanks);
    if (lead == std::string_view::npos || line[lead] == ';') {
        return m;
    }
    if (line[lead] == '[') {
        const auto close = line.rfind(']');
        if (close != std::string_view::npos && close > lead) {
            m.kind = LineKind::Section;
            m.name = trim(line.substr(lead + 1, close - lead - 1));
        }
        return m;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return m;
    }
    m.kind = LineKind::Key;
    m.name = trim(line.substr(0, eq));
    const auto value = line.substr(eq + 1);
    const auto first = value.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        m.value_begin = m.value_end = line.size();
    } else {
        m.value_begin = eq + 1 + first;
        m.value_end = eq + 1 + value.find_last_not_of(kBlanks) + 1;
    }
    return m;
}

// The meaning of line i, with a byte-order mark at the start of the file ignored.
Meaning meaning_at(const std::vector<Line>& lines, std::size_t i) {
    std::string_view text = lines[i].text;
    std::size_t shift = 0;
    if (i == 0 && text.starts_with(kUtf8Bom)) {
        shift = kUtf8Bom.size();
        text.remove_prefix(shift);
    }
    Meaning m = meaning_of(text);
    m.value_begin += shift;
    m.value_end += shift;
    return m;
}

// Where the first section of that name starts and where its key of that name stands.
struct Place {
    std::optional<std::size_t> section_line;
    std::optional<std::size_t> key_line;
    std::size_t last_content_line = 0;  // header or last key line of the section
    Meaning key;
};

Place locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Meaning m = meaning_at(lines, i);
        if (!place.section_line) {
            if (m.kind == LineKind::Section && same_name(m.name, section)) {
                place.section_line = i;
                place.last_content_line = i;
            }
            continue;
        }
        if (m.kind == LineKind::Section) {
            break;
        }
        if (m.kind == LineKind::Key) {
            place.last_content_line = i;
            if (same_name(m.name, key)) {
                place.key_line = i;
                place.key = m;
                break;
            }
        }
    }
    return place;
}

// The terminator new lines get: the file's own (its first one), else "\n".
std::string_view eol_of(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (!line.eol.empty()) {
            return line.eol;
        }
    }
    return "\n";
}

}  // namespace

std::optional<std::string> find_value(std::string_view text, std::string_view section,
                                      std::string_view key) {
    const auto lines = split_lines(text);
    const Place place = locate(lines, section, key);
    if (!place.key_line) {
        return std::nullopt;
    }
    const Meaning& m = place.key;
    return std::string(
        lines[*place.key_line].text.substr(m.value_begin, m.value_end - m.value_begin));
}

std::optional<std::string> with_value(std::string_view text, std::string_view section,
                                      std::string_view key, std::string_view value) {
    const auto lines = split_lines(text);
    const Place place = locate(lines, section, key);
    const std::string_view eol = eol_of(lines);
    const std::string key_line = std::string(key) + "=" + std::string(value);

    std::string out;
    out.reserve(text.size() + key_line.size() + section.size() + 8);
    auto append_line = [&](std::string_view line_text, std::string_view line_eol) {
        out.append(line_text);
        out.append(line_eol.empty() ? eol : line_eol);
    };

    if (!place.section_line) {
        out.append(text);
        if (!lines.empty() && lines.back().eol.empty()) {
            out.append(eol);
        }
        append_line("[" + std::string(section) + "]", eol);
        append_line(key_line, eol);
        return out;
    }
    if (place.key_line) {
        const Meaning& m = place.key;
        const std::string_view old_line = lines[*place.key_line].text;
        if (old_line.substr(m.value_begin, m.value_end - m.value_begin) == value) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == *place.key_line) {
                // Keep the key's own spelling and spacing; only the value changes.
                std::string replaced(old_line.substr(0, m.value_begin));
                replaced.append(value);
                out.append(replaced);
                out.append(lines[i].eol);
            } else {
                out.append(lines[i].text);
                out.append(lines[i].eol);
            }
        }
        return out;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == place.last_content_line) {
            append_line(lines[i].text, lines[i].eol);
            append_line(key_line, eol);
        } else {
            out.append(lines[i].text);
            out.append(lines[i].eol);
        }
    }
    return out;
}

std::string cap_chars(std::string value, std::size_t max_chars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        if ((byte & 0xC0) != 0x80) {
            if (chars == max_chars) {
                value.resize(i);
                break;
            }
            ++chars;
        }
    }
    return value;
}

}  // namespace velmora::settings::ini_text
