#pragma once
// A formula text cut short for as long as a part of it runs on its own (a function call, a Range
// Operation segment). The cut is undone on every path out, exceptions included, so the cell's text
// never keeps the NUL.

namespace qx {

class TextCut {
  public:
    TextCut(char* text, int at) : m_slot(text + at), m_saved(*m_slot) { *m_slot = '\0'; }
    ~TextCut() { *m_slot = m_saved; }
    TextCut(const TextCut&) = delete;
    TextCut& operator=(const TextCut&) = delete;

  private:
    char* m_slot;
    char m_saved;
};

}  // namespace qx
