// Escaping and unescaping of element texts, and the CDATA form.
#include <array>
#include <string>

#include "core/XmlDoc.h"

namespace {

struct NamedReference {
    const char* name;
    int code;
};

// The named character references of HTML 4, and "apos".
constexpr NamedReference kReferences[] = {
    {"quot", 34}, {"amp", 38}, {"apos", 39}, {"lt", 60}, {"gt", 62},
    {"nbsp", 160}, {"iexcl", 161}, {"cent", 162}, {"pound", 163}, {"curren", 164}, {"yen", 165},
    {"brvbar", 166}, {"sect", 167}, {"uml", 168}, {"copy", 169}, {"ordf", 170}, {"laquo", 171},
    {"not", 172}, {"shy", 173}, {"reg", 174}, {"macr", 175}, {"deg", 176}, {"plusmn", 177},
    {"sup2", 178}, {"sup3", 179}, {"acute", 180}, {"micro", 181}, {"para", 182}, {"middot", 183},
    {"cedil", 184}, {"sup1", 185}, {"ordm", 186}, {"raquo", 187}, {"frac14", 188}, {"frac12", 189},
    {"frac34", 190}, {"iquest", 191}, {"Agrave", 192}, {"Aacute", 193}, {"Acirc", 194}, {"Atilde", 195},
    {"Auml", 196}, {"Aring", 197}, {"AElig", 198}, {"Ccedil", 199}, {"Egrave", 200}, {"Eacute", 201},
    {"Ecirc", 202}, {"Euml", 203}, {"Igrave", 204}, {"Iacute", 205}, {"Icirc", 206}, {"Iuml", 207},
    {"ETH", 208}, {"Ntilde", 209}, {"Ograve", 210}, {"Oacute", 211}, {"Ocirc", 212}, {"Otilde", 213},
    {"Ouml", 214}, {"times", 215}, {"Oslash", 216}, {"Ugrave", 217}, {"Uacute", 218}, {"Ucirc", 219},
    {"Uuml", 220}, {"Yacute", 221}, {"THORN", 222}, {"szlig", 223}, {"agrave", 224}, {"aacute", 225},
    {"acirc", 226}, {"atilde", 227}, {"auml", 228}, {"aring", 229}, {"aelig", 230}, {"ccedil", 231},
    {"egrave", 232}, {"eacute", 233}, {"ecirc", 234}, {"euml", 235}, {"igrave", 236}, {"iacute", 237},
    {"icirc", 238}, {"iuml", 239}, {"eth", 240}, {"ntilde", 241}, {"ograve", 242}, {"oacute", 243},
    {"ocirc", 244}, {"otilde", 245}, {"ouml", 246}, {"divide", 247}, {"oslash", 248}, {"ugrave", 249},
    {"uacute", 250}, {"ucirc", 251}, {"uuml", 252}, {"yacute", 253}, {"thorn", 254}, {"yuml", 255},
    {"OElig", 338}, {"oelig", 339}, {"Scaron", 352}, {"scaron", 353}, {"Yuml", 376}, {"fnof", 402},
    {"circ", 710}, {"tilde", 732}, {"Alpha", 913}, {"Beta", 914}, {"Gamma", 915}, {"Delta", 916},
    {"Epsilon", 917}, {"Zeta", 918}, {"Eta", 919}, {"Theta", 920}, {"Iota", 921}, {"Kappa", 922},
    {"Lambda", 923}, {"Mu", 924}, {"Nu", 925}, {"Xi", 926}, {"Omicron", 927}, {"Pi", 928},
    {"Rho", 929}, {"Sigma", 931}, {"Tau", 932}, {"Upsilon", 933}, {"Phi", 934}, {"Chi", 935},
    {"Psi", 936}, {"Omega", 937}, {"alpha", 945}, {"beta", 946}, {"gamma", 947}, {"delta", 948},
    {"epsilon", 949}, {"zeta", 950}, {"eta", 951}, {"theta", 952}, {"iota", 953}, {"kappa", 954},
    {"lambda", 955}, {"mu", 956}, {"nu", 957}, {"xi", 958}, {"omicron", 959}, {"pi", 960},
    {"rho", 961}, {"sigmaf", 962}, {"sigma", 963}, {"tau", 964}, {"upsilon", 965}, {"phi", 966},
    {"chi", 967}, {"psi", 968}, {"omega", 969}, {"thetasym", 977}, {"upsih", 978}, {"piv", 982},
    {"ensp", 8194}, {"emsp", 8195}, {"thinsp", 8201}, {"zwnj", 8204}, {"zwj", 8205}, {"lrm", 8206},
    {"rlm", 8207}, {"ndash", 8211}, {"mdash", 8212}, {"lsquo", 8216}, {"rsquo", 8217}, {"sbquo", 8218},
    {"ldquo", 8220}, {"rdquo", 8221}, {"bdquo", 8222}, {"dagger", 8224}, {"Dagger", 8225}, {"bull", 8226},
    {"hellip", 8230}, {"permil", 8240}, {"prime", 8242}, {"Prime", 8243}, {"lsaquo", 8249}, {"rsaquo", 8250},
    {"oline", 8254}, {"frasl", 8260}, {"euro", 8364}, {"image", 8465}, {"weierp", 8472}, {"real", 8476},
    {"trade", 8482}, {"alefsym", 8501}, {"larr", 8592}, {"uarr", 8593}, {"rarr", 8594}, {"darr", 8595},
    {"harr", 8596}, {"crarr", 8629}, {"lArr", 8656}, {"uArr", 8657}, {"rArr", 8658}, {"dArr", 8659},
    {"hArr", 8660}, {"forall", 8704}, {"part", 8706}, {"exist", 8707}, {"empty", 8709}, {"nabla", 8711},
    {"isin", 8712}, {"notin", 8713}, {"ni", 8715}, {"prod", 8719}, {"sum", 8721}, {"minus", 8722},
    {"lowast", 8727}, {"radic", 8730}, {"prop", 8733}, {"infin", 8734}, {"ang", 8736}, {"and", 8743},
    {"or", 8744}, {"cap", 8745}, {"cup", 8746}, {"int", 8747}, {"there4", 8756}, {"sim", 8764},
    {"cong", 8773}, {"asymp", 8776}, {"ne", 8800}, {"equiv", 8801}, {"le", 8804}, {"ge", 8805},
    {"sub", 8834}, {"sup", 8835}, {"nsub", 8836}, {"sube", 8838}, {"supe", 8839}, {"oplus", 8853},
    {"otimes", 8855}, {"perp", 8869}, {"sdot", 8901}, {"lceil", 8968}, {"rceil", 8969}, {"lfloor", 8970},
    {"rfloor", 8971}, {"lang", 9001}, {"rang", 9002}, {"loz", 9674}, {"spades", 9824}, {"clubs", 9827},
    {"hearts", 9829}, {"diams", 9830},
};

constexpr int kBuckets = 130;
constexpr int kMaxReferenceName = 9;
constexpr char32_t kHighestCodePoint = 0x10FFFF;

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

template <class Text>
int BucketOf(const Text& name, int length) {
    int sum = 0;
    for (int i = 0; i < length; ++i)
        sum += LowerAscii(static_cast<char16_t>(name[i]));
    return sum % kBuckets;
}

// Each bucket is a string of entries: one digit of name length, four digits
// of code point, the name.
const std::array<std::string, kBuckets>& ReferenceBuckets() {
    static const std::array<std::string, kBuckets> buckets = [] {
        std::array<std::string, kBuckets> built;
        for (const NamedReference& reference : kReferences) {
            const std::string name = reference.name;
            std::string& bucket = built[BucketOf(name, static_cast<int>(name.size()))];
            bucket += static_cast<char>('0' + name.size());
            const std::string code = std::to_string(reference.code);
            bucket += std::string(4 - code.size(), '0') + code + name;
        }
        return built;
    }();
    return buckets;
}

char32_t LookUpReference(const char16_t* name, int length) {
    const std::string& bucket = ReferenceBuckets()[BucketOf(name, length)];
    for (size_t at = 0; at < bucket.size();) {
        const int entryLength = bucket[at] - '0';
        const char* entryName = bucket.data() + at + 5;
        bool same = entryLength == length;
        for (int i = 0; same && i < length; ++i)
            same = entryName[i] == name[i];
        if (same)
            return static_cast<char32_t>(std::stoi(bucket.substr(at + 1, 4)));
        at += 5 + static_cast<size_t>(entryLength);
    }
    return 0;
}

int DigitValue(char16_t c, int base) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// "#65" or "#x41"; 0 when the digits are missing or not digits.
char32_t NumericReference(const char16_t* name, int length) {
    int at = 1;
    int base = 10;
    if (length > 1 && (name[1] == u'x' || name[1] == u'X')) {
        base = 16;
        at = 2;
    }
    if (at >= length)
        return 0;
    char32_t value = 0;
    for (; at < length; ++at) {
        const int digit = DigitValue(name[at], base);
        if (digit < 0)
            return 0;
        value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
    }
    return value;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Length of a well-formed reference "&name;" at text, 0 when there is none.
int ReferenceLength(const char16_t* text) {
    const char16_t first = text[1];
    if (!(IsAsciiLetter(first) || first == u'#' || first == u'_' || first == u':' || first > 127))
        return 0;
    for (int at = 2; text[at]; ++at) {
        const char16_t c = text[at];
        if (c == u';')
            return at + 1;
        if (!(IsAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u':' || c == u'-' ||
              c == u'.' || c > 127))
            return 0;
    }
    return 0;
}

}  // namespace

CString CXmlDoc::EscapeMarkup(const char16_t* text, int flags) {
    std::u16string out;
    if (!text)
        return CString();
    const size_t length = std::char_traits<char16_t>::length(text);
    out.reserve(length + length / 10 + 7);
    for (size_t i = 0; i < length; ++i) {
        const char16_t c = text[i];
        switch (c) {
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'&':
            if (flags & XTF_REFERENCES) {
                if (const int kept = ReferenceLength(text + i)) {
                    out.append(text + i, static_cast<size_t>(kept));
                    i += static_cast<size_t>(kept) - 1;
                    break;
                }
            }
            out += u"&amp;";
            break;
        case u'\'':
            out += (flags & XTF_ESCAPEQUOTES) ? u"&apos;" : u"'";
            break;
        case u'"':
            out += (flags & XTF_ESCAPEQUOTES) ? u"&quot;" : u"\"";
            break;
        default:
            out += c;
        }
    }
    return CString(std::move(out));
}

CString CXmlDoc::UnescapeMarkup(const char16_t* text, int length) {
    std::u16string out;
    out.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        int end = i + 1;
        while (end < length && end - i - 1 <= kMaxReferenceName && text[end] != u';' && text[end] < 128)
            ++end;
        const int nameLength = end - i - 1;
        char32_t code = 0;
        if (end < length && text[end] == u';' && nameLength > 0 && nameLength <= kMaxReferenceName) {
            const char16_t* name = text + i + 1;
            code = name[0] == u'#' ? NumericReference(name, nameLength) : LookUpReference(name, nameLength);
        }
        // Beyond the highest code point it is no reference: it stays as written.
        if (code == 0 || code > kHighestCodePoint) {
            out += u'&';
            continue;
        }
        if (code > 0xFFFF) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i = end;
    }
    return CString(std::move(out));
}

CString CXmlDoc::EncodeCdata(const char16_t* text) {
    CString inner(text ? text : u"");
    inner.Replace(u"]]>", u"]]]]><![CDATA[>");
    return u"<![CDATA[" + inner + u"]]>";
}
