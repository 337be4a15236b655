// The node scanner: one node at a time, straight out of the document text.
#include "core/XmlDoc.h"

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool EndsName(char16_t c) { return IsSpace(c) || c == u'/' || c == u'>'; }

bool EndsToken(char16_t c) {
    switch (c) {
    case u' ': case u'\t': case u'\n': case u'\r': case u'"': case u'<': case u'>': case u'=':
    case u'\\': case u'/': case u'?': case u'!': case u'\'': case u';':
        return true;
    default:
        return false;
    }
}

bool StartsName(char16_t c) { return (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' || c >= 97; }

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// What the node being scanned is, once its opening characters are known.
struct NodeShape {
    int kind = XNK_ERROR;
    const char16_t* terminator = u">";
    int termLength = 1;
    int openerEnd = 0;     // the terminator must lie wholly after this offset
    int nameStart = -1;    // where the captured name begins, -1 for none
    const char16_t* what = u"tag";  // its word in the unterminated message
    CString error;
};

CString IncorrectMessage(const char16_t* what, int offset) {
    CString message;
    message.Format(u"Incorrect %s at offset %d", what, offset);
    return message;
}

// Decides the node kind from the characters after '<'; false when the text
// ends before that is known.
bool ShapeMarkup(const char16_t* text, int start, int end, NodeShape& shape) {
    auto at = [&](int i) { return start + i < end ? text[start + i] : char16_t(0); };
    if (start + 1 >= end)
        return false;
    const char16_t c = at(1);
    if (StartsName(c)) {
        shape = {XNK_ELEMENT, u">", 1, start + 1, start + 1, u"Element tag", {}};
    } else if (c == u'/') {
        shape = {XNK_ENDTAG, u">", 1, start + 2, start + 2, u"Element end tag", {}};
    } else if (c == u'?') {
        shape = {XNK_PI, u"?>", 2, start + 2, start + 2, u"Processing instruction", {}};
    } else if (c == u'!') {
        if (start + 2 >= end)
            return false;
        const char16_t d = at(2);
        if (d == u'-') {
            if (start + 3 >= end)
                return false;
            if (at(3) == u'-')
                shape = {XNK_COMMENT, u"-->", 3, start + 4, -1, u"Comment", {}};
            else
                shape.error = IncorrectMessage(u"comment tag", start);
        } else if (d == u'[') {
            if (start + 3 >= end)
                return false;
            if (at(3) == u'C')
                shape = {XNK_CDATA, u"]]>", 3, start + 4, -1, u"CDATA Section", {}};
            else
                shape.error = IncorrectMessage(u"tag", start);
        } else if (d == u'D' || d == u'E' || d == u'A' || d == u'N') {
            // A DOCTYPE or a markup declaration.
            shape = {XNK_DOCTYPE, u">", 1, start + 2, -1, u"Doctype", {}};
        } else {
            shape.error = IncorrectMessage(u"! tag", start);
        }
    } else {
        shape.error = IncorrectMessage(u"tag name character", start);
    }
    return true;
}

}  // namespace

bool TokenScanner::FindName() {
    int pos = next;
    while (pos < end && IsSpace(text[pos]))
        ++pos;
    if (pos >= end) {
        next = pos;
        return false;
    }
    tokenStart = pos;
    if (EndsToken(text[pos])) {
        ++pos;
    } else {
        while (pos < end && !EndsToken(text[pos]))
            ++pos;
    }
    tokenEnd = pos - 1;
    next = pos;
    return true;
}

bool CXmlDoc::NameMatches(const TokenScanner& token, const char16_t* name) {
    const int length = token.TokenLength();
    const char16_t* t = token.text + token.tokenStart;
    for (int i = 0; i < length; ++i) {
        if (name[i] == 0)
            return false;
        const bool same = (token.flags & XDF_IGNORECASE) ? LowerAscii(t[i]) == LowerAscii(name[i]) : t[i] == name[i];
        if (!same)
            return false;
    }
    const char16_t after = name[length];
    return after == 0 || after == u' ' || after == u'=' || after == u'/' || after == u'[' || after == u']';
}

int TokenScanner::ScanNode(NodeInfo& node) {
    const int start = next;
    node.start = start;
    node.flags = 0;
    node.name.Empty();
    if (start >= end) {
        node.kind = XNK_END;
        node.length = 0;
        return XNK_END;
    }

    int pos = start;
    if (text[start] != u'<') {
        node.kind = XNK_WHITESPACE;
        for (; pos < end && text[pos] != u'<'; ++pos) {
            if (!IsSpace(text[pos]))
                node.kind = XNK_TEXT;
            if (text[pos] == u'>' && node.kind == XNK_TEXT) {
                ++pos;
                break;
            }
        }
        next = pos;
        node.length = pos - start;
        return node.kind;
    }

    NodeShape shape;
    const bool known = ShapeMarkup(text, start, end, shape);
    auto unterminated = [&](const char16_t* what) {
        node.kind = XNK_ERROR;
        node.name.Format(u"%s at offset %d unterminated", what, start);
        next = end;
        node.length = end - start;
        return XNK_ERROR;
    };
    if (!known)
        return unterminated(u"tag");

    if (shape.kind == XNK_ERROR) {
        // A broken tag runs to its '>' or up to the next '<'.
        node.kind = XNK_ERROR;
        node.name = shape.error;
        for (pos = start + 1; pos < end && text[pos] != u'<'; ++pos) {
            if (text[pos] == u'>') {
                ++pos;
                break;
            }
        }
        next = pos;
        node.length = pos - start;
        return XNK_ERROR;
    }

    // The captured name.
    int nameEnd = -1;
    if (shape.nameStart >= 0) {
        nameEnd = shape.nameStart;
        while (nameEnd < end && !EndsName(text[nameEnd]))
            ++nameEnd;
        if (shape.kind == XNK_ENDTAG) {
            tokenStart = shape.nameStart;
            tokenEnd = nameEnd - 1;
        } else {
            node.name = CString(text + shape.nameStart, nameEnd - shape.nameStart);
        }
    }

    const bool startTag = shape.kind == XNK_ELEMENT;
    const bool tracksQuotes = startTag || shape.kind == XNK_DOCTYPE;
    const bool doctype = shape.kind == XNK_DOCTYPE && text[start + 2] == u'D';
    char16_t quote = 0;
    bool afterEquals = false;
    int declarationDepth = 0;
    for (pos = nameEnd >= 0 ? nameEnd : shape.openerEnd; pos < end; ++pos) {
        const char16_t c = text[pos];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (tracksQuotes) {
            if (startTag && afterEquals) {
                if (IsSpace(c))
                    continue;
                afterEquals = false;
                if (c == u'"' || c == u'\'') {
                    quote = c;
                    continue;
                }
                if (c == u'=')
                    continue;
            } else if (startTag && c == u'=') {
                afterEquals = true;
                continue;
            } else if (!startTag && (c == u'"' || c == u'\'')) {
                quote = c;
                continue;
            }
        }
        if (doctype && c == u'<') {
            ++declarationDepth;
            continue;
        }
        if (c != u'>')
            continue;
        if (doctype && declarationDepth > 0) {
            --declarationDepth;
            continue;
        }
        const int termStart = pos - shape.termLength + 1;
        if (termStart < shape.openerEnd)
            continue;
        bool matches = true;
        for (int i = 0; i < shape.termLength - 1; ++i)
            matches = matches && text[termStart + i] == shape.terminator[i];
        if (!matches)
            continue;
        if (startTag && pos - 1 >= nameEnd && text[pos - 1] == u'/') {
            const int before = pos - 2;
            if (before == nameEnd - 1 || IsSpace(text[before]) || text[before] == u'"' || text[before] == u'\'')
                node.flags |= NodeInfo::kEmptyTag;
        }
        node.kind = shape.kind;
        next = pos + 1;
        node.length = next - start;
        return node.kind;
    }
    return unterminated(shape.what);
}
