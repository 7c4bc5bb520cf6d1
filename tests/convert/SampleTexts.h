#pragma once
// Short prose in several languages, written for these tests, and a helper that encodes UTF-8
// text into another encoding with iconv.

#include <string>

namespace quillane::test {

inline const std::string kRussianText =
    "Поздней осенью в маленьком северном городе рано темнеет. Старый библиотекарь закрывал "
    "двери читального зала, гасил лампы и медленно шёл домой по узкой улице, где пахло дымом и "
    "мокрыми листьями. Он любил эти вечерние прогулки: можно было думать о книгах, которые ещё "
    "не прочитаны, и о письмах, которые никогда не будут отправлены.\r\nДома его ждал кот, "
    "горячий чай и толстая тетрадь, куда он записывал истории, услышанные за день от "
    "посетителей. Соседи считали его чудаком, но охотно приходили к нему за советом.\r\n";

inline const std::string kCzechText =
    "Na okraji malé vesnice stál starý mlýn, který už dávno nemlel obilí. Děti se ho bály, "
    "protože se vyprávělo, že v noci v něm straší. Jednoho podzimního večera se však malá Běta "
    "rozhodla, že tajemství odhalí. Vzala si lucernu, teplý svetr a kousek chleba se sýrem a "
    "vydala se po úzké cestě kolem potoka. Vítr šuměl v korunách stromů a měsíc se schovával za "
    "mraky.\nKdyž otevřela skřípějící dveře, uviděla jen prach, pavučiny a starou dřevěnou "
    "truhlu. V truhle ležely dopisy psané krasopisem, které mlynář kdysi posílal své ženě do "
    "daleké země. Běta je četla až do rána a pochopila, že jediným strašidlem byl smutek.\n";

inline const std::string kJapaneseText =
    "春の朝、小さな港町の市場はいつも賑やかです。漁師たちは夜明け前に海から戻り、新鮮な魚を並べ"
    "ます。おばあさんは毎日同じ店で野菜を買い、店主と天気の話をします。子どもたちは学校へ行く途中"
    "で、焼きたてのパンの匂いに足を止めます。\n町の図書館には古い地図がたくさんあり、旅人がよく"
    "訪れます。夕方になると、港の灯台に明かりがともり、船は静かに帰ってきます。この町の人々は、急"
    "がずに暮らすことの大切さを知っているのです。\n";

inline const std::string kChineseText =
    "秋天的傍晚，老城的街道上飘着桂花的香气。放学的孩子们背着书包跑过石桥，卖糖葫芦的老人慢慢推"
    "着小车。河边的茶馆里，几位老朋友一边下棋一边聊着过去的故事。\n天色渐渐暗下来，家家户户点亮"
    "了灯，厨房里传来炒菜的声音。小女孩趴在窗前，看着月亮从山后升起，心里想着明天要去图书馆借一本"
    "关于星星的书。她相信，只要认真读书，总有一天能够飞到很远很远的地方。\n";

inline const std::string kFrenchText =
    "L'été dernier, nous avons loué une maison près de la côte. Chaque matin, François "
    "préparait le café pendant que les enfants cherchaient des coquillages. « Regardez ! » "
    "criait Zoé en montrant un crabe minuscule. Le soir, on mangeait des crêpes au citron et "
    "l'on écoutait la mer — un bruit doux, régulier, presque une berceuse.\n";

// `utf8` in `encoding`; throws when iconv cannot convert it.
std::string Encode(const std::string& utf8, const char* encoding);

}  // namespace quillane::test
