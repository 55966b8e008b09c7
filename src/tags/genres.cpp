#include "tags/genres.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tags {

namespace {

// The spellings are those every ID3v1 tagger of the time shipped, slips included
// ("Psychadelic", "Rhytmic Soul", "Contemporary C").
constexpr std::array<std::string_view, LastGenre + 1> names = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "Alternative Rock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native US",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhytmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "Acapella",
    "Euro-House",
    "Dance Hall",
    "Goa",
    "Drum & Bass",
    "Club-House",
    "Hardcore",
    "Terror",
    "Indie",
    "BritPop",
    "Negerpunk",
    "Polsk Punk",
    "Beat",
    "Christian Gangsta",
    "Heavy Metal",
    "Black Metal",
    "Crossover",
    "Contemporary C",
    "Christian Rock",
    "Merengue",
    "Salsa",
    "Thrash Metal",
    "Anime",
    "JPop",
    "SynthPop",
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

} // namespace

QString genreName(int genre)
{
    if (genre < 0 || genre > LastGenre)
        return {};
    const std::string_view name = names[std::size_t(genre)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

QStringList genreChoices()
{
    QStringList list;
    list.reserve(LastGenre + 2);
    list.append(QString());
    for (int genre = 0; genre <= LastGenre; ++genre)
        list.append(genreName(genre));
    return list;
}

double leadingNumber(QStringView text)
{
    // Collect the characters of the number, blanks dropped, then let the C library read them.
    std::string number;
    enum { Sign, Digits, Fraction, ExponentSign, Exponent } state = Sign;
    for (QChar c : text) {
        if (isBlank(c))
            continue;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            if (state == Sign)
                state = Digits;
            if (state == ExponentSign)
                state = Exponent;
        } else if ((u == u'+' || u == u'-') && (state == Sign || state == ExponentSign)) {
            if (state == ExponentSign)
                state = Exponent;
            else
                state = Digits;
        } else if (u == u'.' && (state == Sign || state == Digits)) {
            state = Fraction;
        } else if ((u == u'e' || u == u'E' || u == u'd' || u == u'D') &&
                   (state == Digits || state == Fraction)) {
            state = ExponentSign;
            number += 'e';
            continue;
        } else {
            break;
        }
        number += char(u);
        if (number.size() > 400) // far beyond any double; the rest cannot change the reading much
            break;
    }
    if (state == ExponentSign)
        number.pop_back();
    if (number.empty())
        return 0;
    return std::strtod(number.c_str(), nullptr); // may be infinite; callers check the range
}

qint16 roundToInt16(double value, bool *inRange)
{
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    const bool ok = rounded >= -32768 && rounded <= 32767;
    if (inRange)
        *inRange = ok;
    return ok ? qint16(rounded) : qint16(0);
}

qint16 genreFromText(QStringView text)
{
    // "((" opens a literal parenthesis; "(RX)" (remix) and "(CR)" (cover) are refinements, not
    // genre numbers.
    if (text.isEmpty() || text.startsWith(u"((") || text.startsWith(u"(RX)") ||
        text.startsWith(u"(CR)"))
        return NoGenre;
    if (text.startsWith(u'(')) {
        bool inRange = false;
        const qint16 genre = roundToInt16(leadingNumber(text.sliced(1)), &inRange);
        // A number beyond 16 bits cannot be a genre.
        return inRange ? genre : qint16(NoGenre);
    }
    for (int genre = 0; genre <= LastGenre; ++genre) {
        if (text.compare(genreName(genre), Qt::CaseInsensitive) == 0)
            return qint16(genre);
    }
    if (text.front().isDigit() && text.front().unicode() < 0x80) {
        bool inRange = false;
        const qint16 genre = roundToInt16(leadingNumber(text), &inRange);
        if (inRange && genre >= 0 && genre <= LastGenre)
            return genre;
    }
    return NoGenre;
}

} // namespace tags
