#include "hostio.h"

#include "textconv.h"

#include <cstdio>

namespace khost {

void InputStream::setLineSource(LineSource source, bool interactive) {
    m_source = std::move(source);
    m_interactive = interactive;
}

void InputStream::clearLineSource() {
    m_source = nullptr;
    m_interactive = false;
}

void InputStream::push(std::wstring_view text) {
    if (m_pos > 0) {
        m_pending.erase(0, m_pos);
        m_pos = 0;
    }
    m_pending.append(text);
}

void InputStream::pushUtf8(std::string_view text) { push(fromUtf8(text)); }

void InputStream::clear() {
    m_pending.clear();
    m_pos = 0;
    m_atLineStart = true;
}

bool InputStream::fill() {
    if (m_pos < m_pending.size())
        return true;
    m_pending.clear();
    m_pos = 0;
    if (!m_source)
        return false;
    std::optional<std::string> line = m_source(hostTranscript().currentLine());
    if (!line)
        return false;
    std::string& s = *line;
    if (!s.empty() && s.back() == '\r')
        s.pop_back();
    m_pending = fromUtf8(s);
    m_pending.push_back(L'\n');
    if (m_interactive)
        hostTranscript().noteNewLine();
    return true;
}

bool InputStream::atEnd() { return !fill(); }

Answer InputStream::readAnswer(bool allowSpaces) {
    for (;;) {
        if (!fill())
            return {Answer::End, {}};
        // Comment lines are skipped whole.
        if (m_atLineStart && m_pending[m_pos] == L';') {
            while (m_pos < m_pending.size() && m_pending[m_pos] != L'\n')
                ++m_pos;
            if (m_pos < m_pending.size())
                ++m_pos;
            continue;
        }
        break;
    }
    std::wstring text;
    m_lastEndedLine = true;
    for (;;) {
        if (m_pos >= m_pending.size()) {
            // A queued text without a final newline ends the answer at its end.
            if (!fill())
                break;
        }
        wchar_t c = m_pending[m_pos++];
        if (c == L'\r')
            continue;
        if (c == L'\n') {
            m_atLineStart = true;
            break;
        }
        m_atLineStart = false;
        if (c == L' ' && !allowSpaces) {
            m_lastEndedLine = false;
            break;
        }
        text.push_back(c);
    }
    if (text == L"^C" || text == L"^c")
        return {Answer::Cancel, {}};
    return {Answer::Text, std::move(text)};
}

Answer InputStream::readLine() { return readAnswer(true); }

void Transcript::print(std::wstring_view text) {
    if (text.empty())
        return;
    size_t nl = text.find_last_of(L'\n');
    if (nl == std::wstring_view::npos)
        m_lastLine.append(text);
    else
        m_lastLine.assign(text.substr(nl + 1));
    if (m_capturing)
        m_captured.append(text);
    if ((!m_capturing || m_alsoStdout) && !m_quiet) {
        std::string utf8 = toUtf8(text);
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fflush(stdout);
    }
}

void Transcript::startCapture(bool alsoToStdout) {
    m_capturing = true;
    m_alsoStdout = alsoToStdout;
    m_captured.clear();
}

std::wstring Transcript::takeCaptured() {
    std::wstring out;
    out.swap(m_captured);
    return out;
}

void Transcript::stopCapture() {
    m_capturing = false;
    m_captured.clear();
}

InputStream& hostInput() {
    static InputStream stream;
    return stream;
}

Transcript& hostTranscript() {
    static Transcript transcript;
    return transcript;
}

void hostPrint(std::wstring_view text) { hostTranscript().print(text); }

Answer promptAnswer(std::wstring_view prompt, bool allowSpaces) {
    hostPrint(prompt);
    Answer a = hostInput().readAnswer(allowSpaces);
    if (hostInput().echo() && !hostInput().interactive()) {
        if (a.kind == Answer::Text)
            hostPrint(a.text + L"\n");
        else if (a.kind == Answer::Cancel)
            hostPrint(L"*Cancel*\n");
        else
            hostPrint(L"\n");
    }
    return a;
}

} // namespace khost
