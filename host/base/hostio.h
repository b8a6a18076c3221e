// The host's one input stream and its transcript.
//
// All user interaction reads from one stream of characters: typed lines, a script file, or text
// that a test queues. A newline is Enter; a space also ends an answer except where the prompt
// accepts spaces; "^C" stands for Esc; a line beginning with ';' is a comment. Everything the
// host and its applications print goes to the transcript, which is standard output in UTF-8 and
// can also be captured by tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace khost {

struct Answer {
    enum Kind { Text, Cancel, End };
    Kind kind = End;
    std::wstring text;
};

class InputStream {
public:
    // A line source is asked for one more line (without its newline) when the queued text is
    // used up; it returns nullopt at the end of input. The prompt is what was last printed, for
    // a source that shows it itself (readline).
    using LineSource = std::function<std::optional<std::string>(const std::wstring& prompt)>;

    void setLineSource(LineSource source, bool interactive);
    void clearLineSource();
    bool interactive() const { return m_interactive; }

    // Queues text (UTF-8 or wide) after what is pending.
    void push(std::wstring_view text);
    void pushUtf8(std::string_view text);
    void clear();

    // One answer: up to a space or newline, or only up to a newline when spaces are allowed.
    // The separator is consumed. A "^C" answer gives Cancel; the end of input gives End.
    Answer readAnswer(bool allowSpaces);
    // The rest of the current line (for dialog and message box answers).
    Answer readLine();
    // True when nothing more can be read.
    bool atEnd();
    // Whether the last answer read ended its line (a newline or the end of input ended it, not
    // a space).
    bool lastAnswerEndedLine() const { return m_lastEndedLine; }

    // Whether answers read are echoed to the transcript (scripts: yes; a terminal: no).
    bool echo() const { return m_echo; }
    void setEcho(bool on) { m_echo = on; }

private:
    bool fill();
    std::wstring m_pending;
    size_t m_pos = 0;
    bool m_atLineStart = true;
    bool m_lastEndedLine = true;
    LineSource m_source;
    bool m_interactive = false;
    bool m_echo = true;
};

class Transcript {
public:
    void print(std::wstring_view text);
    // The text printed since the last prompt-relevant newline (what a readline prompt shows).
    const std::wstring& currentLine() const { return m_lastLine; }
    // The terminal moved to a new line by itself (the user pressed Enter at a prompt).
    void noteNewLine() { m_lastLine.clear(); }
    // Tests capture the transcript instead of (or as well as) writing it to standard output.
    void startCapture(bool alsoToStdout = false);
    std::wstring takeCaptured();
    void stopCapture();
    void setQuiet(bool quiet) { m_quiet = quiet; }

private:
    std::wstring m_captured;
    std::wstring m_lastLine;
    bool m_capturing = false;
    bool m_alsoStdout = true;
    bool m_quiet = false;
};

InputStream& hostInput();
Transcript& hostTranscript();
void hostPrint(std::wstring_view text);

// Prints a prompt and reads an answer, echoing it when the stream echoes.
Answer promptAnswer(std::wstring_view prompt, bool allowSpaces);

} // namespace khost
