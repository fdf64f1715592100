#include "core/form_reader.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "core/component.h"
#include "core/exceptions.h"
#include "core/text.h"

namespace {

enum class Tok { End, Ident, String, Number, Symbol };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, decoded string, number text or the symbol
    int line = 0;
};

class Lexer {
public:
    explicit Lexer(const std::string& s) : s_(s) { Next(); }
    const Token& Peek() const { return tok_; }
    Token Take() {
        Token t = tok_;
        Next();
        return t;
    }

private:
    void Next() {
        SkipBlanks();
        tok_ = Token{};
        tok_.line = line_;
        if (pos_ >= s_.size()) return;
        char c = s_[pos_];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t b = pos_;
            while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_' ||
                                        s_[pos_] == '.'))
                ++pos_;
            tok_.kind = Tok::Ident;
            tok_.text = s_.substr(b, pos_ - b);
        } else if (c == '\'' || c == '#') {
            tok_.kind = Tok::String;
            tok_.text = ReadString();
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+') {
            size_t b = pos_++;
            while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                                        s_[pos_] == 'e' || s_[pos_] == 'E'))
                ++pos_;
            tok_.kind = Tok::Number;
            tok_.text = s_.substr(b, pos_ - b);
        } else {
            tok_.kind = Tok::Symbol;
            tok_.text = std::string(1, c);
            ++pos_;
        }
    }

    void SkipBlanks() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') ++line_;
            if (static_cast<unsigned char>(c) <= ' ') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    std::string ReadString() {
        std::string out;
        for (;;) {
            if (pos_ < s_.size() && s_[pos_] == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size()) Fail("unterminated string");
                    char c = s_[pos_++];
                    if (c == '\n') Fail("unterminated string");
                    if (c == '\'') {
                        if (pos_ < s_.size() && s_[pos_] == '\'') {
                            out += '\'';
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                    out += c;
                }
            } else if (pos_ < s_.size() && s_[pos_] == '#') {
                ++pos_;
                size_t b = pos_;
                while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
                if (b == pos_) Fail("character code expected after #");
                out += static_cast<char>(std::atoi(s_.substr(b, pos_ - b).c_str()));
            } else {
                return out;
            }
        }
    }

    [[noreturn]] void Fail(const char* what) const {
        throw EReadError(Format("Error reading form description, line %d: %s", line_, what));
    }

    const std::string& s_;
    size_t pos_ = 0;
    int line_ = 1;
    Token tok_;
};

struct Fixup {
    TPersistent* target;
    const TPropInfo* prop;
    std::string componentName;
    int line;
};

class Reader {
public:
    Reader(TComponent& root, const std::string& text) : root_(root), lex_(text) {}

    void Run() {
        ReadObject(nullptr);
        if (lex_.Peek().kind != Tok::End) Fail(lex_.Peek(), "text after the last 'end'");
        for (const Fixup& f : fixups_) {
            TComponent* c = SameTextAscii(f.componentName, root_.Name()) ? &root_
                                                                         : root_.FindComponent(f.componentName);
            if (!c) throw EReadError(Format("Error reading form description, line %d: component %s not found",
                                            f.line, f.componentName.c_str()));
            f.prop->SetComponent(*f.target, c);
        }
        for (TComponent* c : loaded_) c->Loaded();
    }

private:
    [[noreturn]] void Fail(const Token& at, const std::string& what) {
        throw EReadError(Format("Error reading form description, line %d: %s", at.line, what.c_str()));
    }

    Token Expect(Tok kind, const char* what) {
        if (lex_.Peek().kind != kind) Fail(lex_.Peek(), std::string(what) + " expected");
        return lex_.Take();
    }

    void ExpectSymbol(const char* sym) {
        if (lex_.Peek().kind != Tok::Symbol || lex_.Peek().text != sym) Fail(lex_.Peek(), std::string("'") + sym + "' expected");
        lex_.Take();
    }

    bool AtKeyword(const char* word) const {
        return lex_.Peek().kind == Tok::Ident && SameTextAscii(lex_.Peek().text, word);
    }

    void ReadObject(TComponent* enclosing) {
        Token kw = Expect(Tok::Ident, "'object'");
        if (!SameTextAscii(kw.text, "object")) Fail(kw, "'object' expected");
        Token name = Expect(Tok::Ident, "component name");
        ExpectSymbol(":");
        Token cls = Expect(Tok::Ident, "class name");

        TComponent* comp;
        if (!enclosing) {
            if (!SameTextAscii(cls.text, root_.ClassInfo().Name))
                Fail(cls, "the description is for " + cls.text + ", not " + root_.ClassInfo().Name);
            comp = &root_;
        } else {
            const TClassInfo* info = FindClass(cls.text);
            if (!info || !info->Create) Fail(cls, "class " + cls.text + " not found");
            comp = info->Create(&root_);
        }
        comp->BeginLoading();
        comp->SetName(name.text);
        if (enclosing) comp->SetParentComponent(enclosing);
        loaded_.push_back(comp);

        while (!AtKeyword("end")) {
            if (lex_.Peek().kind == Tok::End) Fail(lex_.Peek(), "'end' expected");
            if (AtKeyword("object")) {
                ReadObject(comp);
            } else {
                ReadProperty(*comp);
            }
        }
        lex_.Take();
    }

    void ReadProperty(TComponent& comp) {
        Token path = Expect(Tok::Ident, "property name");
        ExpectSymbol("=");
        // Walk dotted names through nested objects.
        TPersistent* target = &comp;
        std::string rest = path.text;
        for (size_t dot; (dot = rest.find('.')) != std::string::npos;) {
            std::string head = rest.substr(0, dot);
            const TPropInfo* p = target->ClassInfo().FindProp(head);
            if (!p || p->Kind != TTypeKind::tkClass) Fail(path, "property " + path.text + " does not exist");
            target = p->GetObject(*target);
            rest = rest.substr(dot + 1);
        }
        const TPropInfo* prop = target->ClassInfo().FindProp(rest);
        if (!prop) Fail(path, "property " + path.text + " does not exist");
        AssignValue(*target, *prop, path);
    }

    void AssignValue(TPersistent& target, const TPropInfo& prop, const Token& at) {
        Token v = lex_.Peek();
        switch (prop.Kind) {
            case TTypeKind::tkString:
                prop.SetStr(target, Expect(Tok::String, "text").text);
                return;
            case TTypeKind::tkChar: {
                std::string s = Expect(Tok::String, "character").text;
                if (s.size() != 1) Fail(v, "one character expected");
                prop.SetOrd(target, static_cast<unsigned char>(s[0]));
                return;
            }
            case TTypeKind::tkInteger:
            case TTypeKind::tkInt64: {
                if (v.kind == Tok::Ident) {
                    lex_.Take();
                    auto c = FindIntegerConstant(v.text);
                    if (!c) Fail(v, "unknown constant " + v.text);
                    prop.SetOrd(target, *c);
                } else {
                    prop.SetOrd(target, std::strtoll(Expect(Tok::Number, "number").text.c_str(), nullptr, 10));
                }
                return;
            }
            case TTypeKind::tkFloat:
                prop.SetFloat(target, std::strtod(Expect(Tok::Number, "number").text.c_str(), nullptr));
                return;
            case TTypeKind::tkBoolean: {
                Token t = Expect(Tok::Ident, "True or False");
                if (SameTextAscii(t.text, "True")) prop.SetOrd(target, 1);
                else if (SameTextAscii(t.text, "False")) prop.SetOrd(target, 0);
                else Fail(t, "True or False expected");
                return;
            }
            case TTypeKind::tkEnumeration: {
                Token t = Expect(Tok::Ident, "enumeration value");
                int i = prop.Enum->IndexOf(t.text);
                if (i < 0) Fail(t, "invalid value " + t.text + " for " + prop.Name);
                prop.SetOrd(target, i);
                return;
            }
            case TTypeKind::tkSet: {
                ExpectSymbol("[");
                int64_t bits = 0;
                while (!(lex_.Peek().kind == Tok::Symbol && lex_.Peek().text == "]")) {
                    Token t = Expect(Tok::Ident, "set member");
                    int i = prop.Enum->IndexOf(t.text);
                    if (i < 0) Fail(t, "invalid set member " + t.text + " for " + prop.Name);
                    bits |= int64_t{1} << i;
                    if (lex_.Peek().kind == Tok::Symbol && lex_.Peek().text == ",") lex_.Take();
                }
                lex_.Take();
                prop.SetOrd(target, bits);
                return;
            }
            case TTypeKind::tkStrings: {
                ExpectSymbol("(");
                std::vector<std::string> items;
                while (!(lex_.Peek().kind == Tok::Symbol && lex_.Peek().text == ")"))
                    items.push_back(Expect(Tok::String, "text").text);
                lex_.Take();
                prop.SetList(target, items);
                return;
            }
            case TTypeKind::tkComponent:
                fixups_.push_back({&target, &prop, Expect(Tok::Ident, "component name").text, v.line});
                return;
            case TTypeKind::tkMethod: {
                Token t = Expect(Tok::Ident, "handler name");
                const std::any* handler = root_.MethodAddress(t.text);
                if (!handler) Fail(t, "handler " + t.text + " not found");
                try {
                    prop.SetEvent(target, *handler);
                } catch (const std::bad_any_cast&) {
                    Fail(t, "handler " + t.text + " does not fit " + prop.Name);
                }
                return;
            }
            case TTypeKind::tkClass:
                Fail(at, "property " + prop.Name + " is an object; assign its members");
        }
    }

    TComponent& root_;
    Lexer lex_;
    std::vector<Fixup> fixups_;
    std::vector<TComponent*> loaded_;
};

}  // namespace

void ReadFormDescription(TComponent& root, const std::string& text) { Reader(root, text).Run(); }
