// velmar_bench_generate: writes a synthetic DVD database of a requested size for the benchmark.
//
//   velmar_bench_generate --shape=SHAPE --size-mib=N [--seed=S] -o=FILE
//
// The file is windows-1251 with the usual declaration and a <VelmarDB> root. The same shape, size
// and seed always give the same bytes (the random numbers come from a fixed-formula generator,
// never from the standard library's distributions). Shapes:
//
//   typical       one record a line, no indentation, CR LF between records: Russian titles,
//                 Latin original titles with &amp; &apos; &quot;, shelf marks, reviews of a few
//                 hundred bytes to a few KB in several paragraphs with « » — and №
//   tiny          millions of records whose four fields are a few bytes each
//   huge-text     one record whose review is one huge text with line breaks
//   pretty        the typical content, indented, one element a line
//   entity-heavy  the typical layout, every text dense with &amp; &lt; &quot; &#1046; &#x416;

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "reader/cp1251_table.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers: splitmix64, fully determined by its seed.

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A number from 0 to bound - 1.
  std::uint32_t below(std::uint32_t bound) {
    return static_cast<std::uint32_t>((next() >> 11) % bound);
  }

  // A number from low to high, both included.
  std::uint32_t between(std::uint32_t low, std::uint32_t high) {
    return low + below(high - low + 1);
  }

  // True with the given chance in percent.
  bool percent(std::uint32_t chance) { return below(100) < chance; }

  // A size from low to high, spread about evenly over each doubling: a doubling is picked
  // first, then a size inside it (so short reviews are as common as long ones per doubling).
  std::uint32_t logBetween(std::uint32_t low, std::uint32_t high) {
    std::uint32_t doublings = 0;
    for (std::uint32_t value = low; value < high; value *= 2) ++doublings;
    const std::uint32_t base = low << below(doublings == 0 ? 1 : doublings);
    const std::uint32_t value = base + below(base + 1);
    return value > high ? high : value;
  }

 private:
  std::uint64_t state_;
};

// ---------------------------------------------------------------------------------------------
// Text in windows-1251. Word lists are written here in UTF-8 and converted once at start-up.

std::string toCp1251(const char* utf8) {
  std::string out;
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
  while (*bytes != 0) {
    std::uint32_t codePoint = *bytes;
    int extra = 0;
    if (codePoint >= 0xF0) {
      codePoint &= 0x07;
      extra = 3;
    } else if (codePoint >= 0xE0) {
      codePoint &= 0x0F;
      extra = 2;
    } else if (codePoint >= 0xC0) {
      codePoint &= 0x1F;
      extra = 1;
    }
    ++bytes;
    for (int index = 0; index < extra; ++index) codePoint = (codePoint << 6) | (*bytes++ & 0x3F);
    if (codePoint < 0x80) {
      out.push_back(static_cast<char>(codePoint));
      continue;
    }
    char byte = '?';
    for (std::uint32_t candidate = 0x80; candidate <= 0xFF; ++candidate) {
      if (candidate != velmar::kCp1251Unassigned &&
          velmar::kCp1251UpperHalf[candidate - 0x80] == codePoint) {
        byte = static_cast<char>(candidate);
        break;
      }
    }
    if (byte == '?') {
      std::fprintf(stderr, "generator word list holds a character outside windows-1251\n");
      std::exit(2);
    }
    out.push_back(byte);
  }
  return out;
}

std::vector<std::string> toCp1251List(std::initializer_list<const char*> words) {
  std::vector<std::string> list;
  for (const char* word : words) list.push_back(toCp1251(word));
  return list;
}

// The Unicode value of a windows-1251 byte, for writing it as a character reference.
std::uint32_t unicodeOf(unsigned char byte) { return velmar::cp1251ToUnicode(byte); }

// Upper-cases the first letter of a windows-1251 word.
void capitalise(std::string& word) {
  if (word.empty()) return;
  auto byte = static_cast<unsigned char>(word[0]);
  if (byte >= 0xE0) {
    byte = static_cast<unsigned char>(byte - 0x20);
  } else if (byte == 0xB8) {
    byte = 0xA8;  // ё
  } else if (byte >= 'a' && byte <= 'z') {
    byte = static_cast<unsigned char>(byte - 0x20);
  }
  word[0] = static_cast<char>(byte);
}

struct Vocabulary {
  std::vector<std::string> nouns = toCp1251List({
      "ночь",        "город",   "дорога",     "любовь",  "война",     "тайна",   "остров",
      "море",        "солнце",  "звезда",     "брат",    "сестра",    "отец",    "мать",
      "детектив",    "герой",   "время",      "мир",     "жизнь",     "смерть",  "судьба",
      "память",      "зима",    "лето",       "весна",   "осень",     "поезд",   "корабль",
      "самолёт",     "дом",     "сердце",     "враг",    "друг",      "король",  "королева",
      "принцесса",   "охотник", "граница",    "пустыня", "лес",       "гора",    "река",
      "берег",       "камень",  "огонь",      "вода",    "ветер",     "небо",    "земля",
      "полковник",   "капитан", "шпион",      "агент",   "доктор",    "учитель", "ученик",
      "следователь", "банда",   "ограбление", "погоня",  "сокровище", "легенда", "история",
      "картина",     "роль",    "режиссёр",   "сюжет",   "сцена",     "финал",   "зритель",
      "экран",       "музыка",  "песня",      "танец",   "ребёнок",   "семья",   "деревня",
      "столица",     "улица",   "квартира",   "школа",   "армия",     "флот",    "планета",
  });
  std::vector<std::string> adjectives = toCp1251List({
      "тёмный",    "последний", "большой",  "маленький", "старый",     "новый",      "белый",
      "чёрный",    "красный",   "золотой",  "далёкий",   "холодный",   "горячий",    "тихий",
      "опасный",   "странный",  "вечный",   "забытый",   "потерянный", "секретный",  "дикий",
      "смелый",    "безумный",  "одинокий", "быстрый",   "ночной",     "северный",   "южный",
      "восточный", "западный",  "морской",  "лесной",    "железный",   "стеклянный", "ясный",
  });
  std::vector<std::string> verbs = toCp1251List({
      "рассказывает", "показывает", "узнаёт",    "находит",  "теряет", "встречает",  "ищет",
      "спасает",      "побеждает",  "скрывает",  "понимает", "решает", "покидает",   "возвращается",
      "отправляется", "влюбляется", "сражается", "бежит",    "ждёт",   "вспоминает", "открывает",
  });
  std::vector<std::string> small = toCp1251List({
      "и",  "в",   "на",  "с",   "о",   "по",    "за",    "из",    "к",
      "не", "что", "как", "но",  "его", "её",    "их",    "для",   "от",
      "до", "без", "под", "над", "при", "через", "после", "когда", "где",
  });
  std::vector<std::string> names = toCp1251List({
      "Иван Петров",
      "Анна Смирнова",
      "Сергей Иванов",
      "Ольга Кузнецова",
      "Михаил Соколов",
      "Елена Попова",
      "Дмитрий Лебедев",
      "Наталья Козлова",
      "Джон Смит",
      "Мэри Джонсон",
      "Роберт Уильямс",
      "Джеймс Браун",
      "Жан Дюпон",
      "Клод Мартен",
      "Пётр Фёдоров",
      "Алексей Морозов",
  });
  std::vector<std::string> countries = toCp1251List({
      "США",
      "Россия",
      "СССР",
      "Франция",
      "Великобритания",
      "Италия",
      "Германия",
      "Япония",
      "Испания",
      "Канада",
      "Австралия",
      "Гонконг",
  });
  std::vector<std::string> genres = toCp1251List({
      "драма",
      "комедия",
      "боевик",
      "триллер",
      "детектив",
      "мелодрама",
      "фантастика",
      "приключения",
      "вестерн",
      "мультфильм",
      "ужасы",
      "мюзикл",
      "документальный",
  });
  std::vector<std::string> labels = toCp1251List({
      "Год",
      "Страна",
      "Жанр",
      "Режиссёр",
      "В ролях",
      "Продолжительность",
      "Перевод",
      "Звук",
  });
  std::string minutes = toCp1251(" мин.");
  std::string year = toCp1251(" г.");
  std::string part = toCp1251("Часть ");
  std::string disc = toCp1251("Диск ");
  std::string shelfLetters = toCp1251("АБВГДЕЖЗИКЛМН");
  std::vector<std::string> latin = {
      "The",   "Last",  "Night", "Dark",   "City",   "Ocean", "Man",      "Woman",  "Star",
      "War",   "Love",  "Story", "Return", "King",   "Queen", "Lost",     "World",  "Blue",
      "Red",   "Black", "White", "House",  "Road",   "River", "Mountain", "Game",   "Time",
      "Heart", "Fire",  "Ice",   "Secret", "Hunter", "Dream", "Street",   "Island", "Silent",
      "of",    "the",   "in",    "and",    "on",     "at",    "from",     "to",     "with",
  };
  std::vector<std::string> latinNames = {"Ocean",  "Schindler", "Charlotte", "Tom",    "Jerry",
                                         "Bonnie", "Clyde",     "Romeo",     "Juliet", "Harry"};
};

const Vocabulary& vocabulary() {
  static const Vocabulary words;
  return words;
}

template <typename List>
const std::string& pick(Random& random, const List& list) {
  return list[random.below(static_cast<std::uint32_t>(list.size()))];
}

// Windows-1251 punctuation the reviews use.
constexpr char kLeftQuote[] = "\xAB";   // «
constexpr char kRightQuote[] = "\xBB";  // »
constexpr char kDash[] = "\x97";        // —
constexpr char kNumero[] = "\xB9";      // №

// ---------------------------------------------------------------------------------------------
// Text makers. Each appends raw (already escaped) XML text in windows-1251.

void appendNumber(std::string& out, std::uint32_t value, int width = 0) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*u", width, value);
  out += digits;
}

void appendRussianTitle(Random& random, std::string& out) {
  const Vocabulary& words = vocabulary();
  std::string first =
      random.below(4) == 0 ? pick(random, words.nouns) : pick(random, words.adjectives);
  capitalise(first);
  out += first;
  const std::uint32_t more = random.between(0, 3);
  for (std::uint32_t index = 0; index < more; ++index) {
    out += ' ';
    out += index % 2 == 0 ? pick(random, words.nouns) : pick(random, words.small);
  }
  if (random.percent(8)) {
    out += ' ';
    appendNumber(out, random.between(2, 5));
  }
  if (random.percent(6)) {
    out += ". ";
    out += words.part;
    appendNumber(out, random.between(1, 3));
  }
}

void appendLatinTitle(Random& random, std::string& out) {
  const Vocabulary& words = vocabulary();
  const std::uint32_t form = random.below(10);
  if (form == 0) {
    out += pick(random, words.latinNames);
    out += " &amp; ";
    out += pick(random, words.latinNames);
    return;
  }
  if (form == 1) {
    out += pick(random, words.latinNames);
    out += "&apos;s ";
    out += pick(random, words.latin);
    return;
  }
  const bool quoted = form == 2;
  if (quoted) out += "&quot;";
  const std::uint32_t count = random.between(1, 4);
  for (std::uint32_t index = 0; index < count; ++index) {
    if (index > 0) out += ' ';
    std::string word = pick(random, words.latin);
    capitalise(word);
    out += word;
  }
  if (quoted) out += "&quot;";
  if (random.percent(5)) out += " &amp; Co";
}

void appendShelfMark(Random& random, std::string& out) {
  const Vocabulary& words = vocabulary();
  switch (random.below(4)) {
    case 0:
      out += "DVD-";
      appendNumber(out, random.between(1, 9999), 4);
      break;
    case 1:
      out +=
          words.shelfLetters[random.below(static_cast<std::uint32_t>(words.shelfLetters.size()))];
      out += '-';
      appendNumber(out, random.between(1, 999), 3);
      break;
    case 2:
      out += static_cast<char>('A' + random.below(8));
      appendNumber(out, random.between(1, 99), 2);
      out += '/';
      appendNumber(out, random.between(1, 9));
      break;
    default:
      out += words.disc;
      out += kNumero;
      appendNumber(out, random.between(1, 2500));
      break;
  }
}

// One sentence of a review, with the odd «quoted title», dash, number sign or ampersand.
void appendSentence(Random& random, std::string& out) {
  const Vocabulary& words = vocabulary();
  const std::uint32_t count = random.between(5, 16);
  for (std::uint32_t index = 0; index < count; ++index) {
    if (index > 0) {
      if (random.percent(6)) out += ',';
      out += ' ';
    }
    std::string word;
    const std::uint32_t kind = random.below(10);
    if (kind < 3) {
      word = pick(random, words.small);
    } else if (kind < 6) {
      word = pick(random, words.nouns);
    } else if (kind < 8) {
      word = pick(random, words.adjectives);
    } else {
      word = pick(random, words.verbs);
    }
    if (index == 0) capitalise(word);
    out += word;
    const std::uint32_t extra = random.below(60);
    if (extra == 0) {
      out += ' ';
      out += kDash;
    } else if (extra == 1) {
      out += ' ';
      out += kLeftQuote;
      appendRussianTitle(random, out);
      out += kRightQuote;
    } else if (extra == 2) {
      out += ' ';
      out += kNumero;
      out += ' ';
      appendNumber(out, random.between(1, 99));
    } else if (extra == 3) {
      out += " &amp;";
    }
  }
  const std::uint32_t end = random.below(12);
  out += end == 0 ? "!" : end == 1 ? "?" : end == 2 ? "..." : ".";
}

// The facts block that opens most reviews, one "Label: value" a line.
void appendFacts(Random& random, std::string& out) {
  const Vocabulary& words = vocabulary();
  out += words.labels[0];
  out += ": ";
  appendNumber(out, random.between(1950, 2004));
  out += words.year;
  out += "\r\n";
  out += words.labels[1];
  out += ": ";
  out += pick(random, words.countries);
  out += "\r\n";
  out += words.labels[2];
  out += ": ";
  out += pick(random, words.genres);
  out += "\r\n";
  out += words.labels[3];
  out += ": ";
  out += pick(random, words.names);
  out += "\r\n";
  out += words.labels[4];
  out += ": ";
  const std::uint32_t cast = random.between(2, 5);
  for (std::uint32_t index = 0; index < cast; ++index) {
    if (index > 0) out += ", ";
    out += pick(random, words.names);
  }
  out += "\r\n";
  out += words.labels[5];
  out += ": ";
  appendNumber(out, random.between(70, 190));
  out += words.minutes;
}

// A review of about `target` bytes: maybe the facts block, then paragraphs split by CR LF.
void appendReview(Random& random, std::string& out, std::size_t target) {
  const std::size_t start = out.size();
  if (random.percent(70)) {
    appendFacts(random, out);
    out += "\r\n";
  }
  std::size_t paragraph = 0;
  while (out.size() - start < target) {
    if (paragraph > 0) out += "\r\n";
    const std::uint32_t sentences = random.between(1, 5);
    for (std::uint32_t index = 0; index < sentences && out.size() - start < target; ++index) {
      if (index > 0) out += ' ';
      appendSentence(random, out);
    }
    ++paragraph;
  }
}

// Rewrites raw windows-1251 text so that it is dense with references: letters become &#NNNN;
// or &#xHHHH; at random, spaces sometimes &#32;, and named entities are sprinkled in. Entities
// already in the text are kept whole.
void appendDenseReferences(Random& random, const std::string& plain, std::string& out) {
  static const char* const kNamed[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
  for (std::size_t index = 0; index < plain.size(); ++index) {
    const auto byte = static_cast<unsigned char>(plain[index]);
    if (byte == '&') {
      const std::size_t end = plain.find(';', index);
      out.append(plain, index, end - index + 1);
      index = end;
      continue;
    }
    if (byte == ' ' && random.percent(20)) {
      out += ' ';
      out += kNamed[random.below(5)];
      out += ' ';
      continue;
    }
    const std::uint32_t roll = random.below(100);
    if (byte >= 0x80 && roll < 35) {
      out += "&#";
      appendNumber(out, unicodeOf(byte));
      out += ';';
    } else if (byte >= 0x80 && roll < 50) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "&#x%X;", unicodeOf(byte));
      out += hex;
    } else if (byte < 0x80 && byte > ' ' && roll < 10) {
      out += "&#";
      appendNumber(out, byte);
      out += ';';
    } else {
      out += static_cast<char>(byte);
    }
  }
  // Now and then a character the code page does not have (it comes out as '?').
  if (random.percent(10)) out += "&#937;";
}

// ---------------------------------------------------------------------------------------------
// Record writers.

struct Fields {
  std::string nameR;
  std::string nameO;
  std::string sign;
  std::string obz;
};

void makeTypicalFields(Random& random, Fields& fields) {
  fields.nameR.clear();
  fields.nameO.clear();
  fields.sign.clear();
  fields.obz.clear();
  appendRussianTitle(random, fields.nameR);
  if (random.percent(90)) appendLatinTitle(random, fields.nameO);
  appendShelfMark(random, fields.sign);
  appendReview(random, fields.obz, random.logBetween(200, 4096));
}

void makeTinyFields(Random& random, Fields& fields) {
  const Vocabulary& words = vocabulary();
  auto shortText = [&](std::string& out) {
    out.clear();
    const std::uint32_t length = random.between(1, 4);
    for (std::uint32_t index = 0; index < length; ++index) {
      const std::string& word = pick(random, words.nouns);
      out += word[random.below(static_cast<std::uint32_t>(word.size()))];
    }
  };
  shortText(fields.nameR);
  fields.nameO.clear();
  const std::uint32_t length = random.between(1, 4);
  for (std::uint32_t index = 0; index < length; ++index) {
    fields.nameO += static_cast<char>('a' + random.below(26));
  }
  fields.sign.clear();
  appendNumber(fields.sign, random.between(1, 999));
  shortText(fields.obz);
}

void appendCompactRecord(const Fields& fields, std::string& out) {
  out += "<VelmarList><nameR>";
  out += fields.nameR;
  out += "</nameR><nameO>";
  out += fields.nameO;
  out += "</nameO><sign>";
  out += fields.sign;
  out += "</sign><obz>";
  out += fields.obz;
  out += "</obz></VelmarList>\r\n";
}

void appendPrettyRecord(const Fields& fields, std::string& out) {
  out += "  <VelmarList>\r\n    <nameR>";
  out += fields.nameR;
  out += "</nameR>\r\n    <nameO>";
  out += fields.nameO;
  out += "</nameO>\r\n    <sign>";
  out += fields.sign;
  out += "</sign>\r\n    <obz>";
  out += fields.obz;
  out += "</obz>\r\n  </VelmarList>\r\n";
}

// ---------------------------------------------------------------------------------------------
// The file.

constexpr char kHead[] = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<VelmarDB>\r\n";
constexpr char kTail[] = "</VelmarDB>\r\n";

class Output {
 public:
  explicit Output(const char* path) : file_(std::fopen(path, "wb")), path_(path) {
    if (file_ == nullptr) {
      std::fprintf(stderr, "Can't create %s\n", path);
      std::exit(1);
    }
  }

  // Writes the pending text when it has grown large.
  void drain(std::string& pending, bool force = false) {
    if (!force && pending.size() < (1u << 20)) return;
    if (std::fwrite(pending.data(), 1, pending.size(), file_) != pending.size()) fail();
    written_ += pending.size();
    pending.clear();
  }

  std::uint64_t written() const { return written_; }

  void close() {
    if (std::fclose(file_) != 0) fail();
    file_ = nullptr;
  }

 private:
  void fail() {
    std::fprintf(stderr, "Can't write %s\n", path_);
    std::exit(1);
  }

  std::FILE* file_;
  const char* path_;
  std::uint64_t written_ = 0;
};

enum class Shape { Typical, Tiny, HugeText, Pretty, EntityHeavy };

bool parseShape(const char* name, Shape& shape) {
  static const struct {
    const char* name;
    Shape shape;
  } kShapes[] = {{"typical", Shape::Typical},
                 {"tiny", Shape::Tiny},
                 {"huge-text", Shape::HugeText},
                 {"pretty", Shape::Pretty},
                 {"entity-heavy", Shape::EntityHeavy}};
  for (const auto& entry : kShapes) {
    if (std::strcmp(name, entry.name) == 0) {
      shape = entry.shape;
      return true;
    }
  }
  return false;
}

void generate(Shape shape, std::uint64_t targetBytes, Random& random, Output& output) {
  std::string pending = kHead;
  const std::uint64_t tailSize = sizeof kTail - 1;
  Fields fields;

  if (shape == Shape::HugeText) {
    appendRussianTitle(random, fields.nameR);
    appendLatinTitle(random, fields.nameO);
    appendShelfMark(random, fields.sign);
    pending += "<VelmarList><nameR>" + fields.nameR + "</nameR><nameO>" + fields.nameO +
               "</nameO><sign>" + fields.sign + "</sign><obz>";
    const std::string closing = "</obz></VelmarList>\r\n";
    std::uint64_t paragraphs = 0;
    while (output.written() + pending.size() + closing.size() + tailSize < targetBytes) {
      if (paragraphs++ > 0) pending += "\r\n";
      const std::uint32_t sentences = random.between(2, 8);
      for (std::uint32_t index = 0; index < sentences; ++index) {
        if (index > 0) pending += ' ';
        appendSentence(random, pending);
      }
      output.drain(pending);
    }
    pending += closing;
  } else {
    while (output.written() + pending.size() + tailSize < targetBytes) {
      switch (shape) {
        case Shape::Tiny:
          makeTinyFields(random, fields);
          appendCompactRecord(fields, pending);
          break;
        case Shape::Pretty:
          makeTypicalFields(random, fields);
          appendPrettyRecord(fields, pending);
          break;
        case Shape::EntityHeavy: {
          makeTypicalFields(random, fields);
          Fields dense;
          appendDenseReferences(random, fields.nameR, dense.nameR);
          appendDenseReferences(random, fields.nameO, dense.nameO);
          appendDenseReferences(random, fields.sign, dense.sign);
          appendDenseReferences(random, fields.obz, dense.obz);
          appendCompactRecord(dense, pending);
          break;
        }
        default:
          makeTypicalFields(random, fields);
          appendCompactRecord(fields, pending);
          break;
      }
      output.drain(pending);
    }
  }
  pending += kTail;
  output.drain(pending, true);
}

void usage() {
  std::fprintf(stderr,
               "usage: velmar_bench_generate --shape=typical|tiny|huge-text|pretty|entity-heavy "
               "--size-mib=N [--seed=S] -o=FILE\n");
}

}  // namespace

int main(int argc, char** argv) {
  const char* shapeName = nullptr;
  const char* outputPath = nullptr;
  double sizeMib = 0;
  std::uint64_t seed = 1;
  for (int index = 1; index < argc; ++index) {
    const char* argument = argv[index];
    if (std::strncmp(argument, "--shape=", 8) == 0) {
      shapeName = argument + 8;
    } else if (std::strncmp(argument, "--size-mib=", 11) == 0) {
      sizeMib = std::strtod(argument + 11, nullptr);
    } else if (std::strncmp(argument, "--seed=", 7) == 0) {
      seed = std::strtoull(argument + 7, nullptr, 10);
    } else if (std::strncmp(argument, "-o=", 3) == 0) {
      outputPath = argument + 3;
    } else {
      usage();
      return 2;
    }
  }
  Shape shape;
  if (shapeName == nullptr || outputPath == nullptr || sizeMib <= 0 ||
      !parseShape(shapeName, shape)) {
    usage();
    return 2;
  }
  // Each shape draws from its own stream, so shapes do not share their text.
  std::uint64_t streamSeed = seed * 0x100000001B3ull;
  for (const char* at = shapeName; *at != '\0'; ++at) {
    streamSeed = (streamSeed ^ static_cast<unsigned char>(*at)) * 0x100000001B3ull;
  }
  Random random(streamSeed);
  Output output(outputPath);
  generate(shape, static_cast<std::uint64_t>(sizeMib * 1048576.0), random, output);
  output.close();
  return 0;
}
