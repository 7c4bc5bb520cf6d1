#pragma once
// Our own sample prose for the shape tests: paragraphs of a short story about a harbour town,
// long enough to wrap over several lines.

#include <string>
#include <vector>

namespace quillane::test {

inline std::vector<std::string> HarbourParagraphs() {
    return {
        "The ferry from Ostrand came in late that evening, low in the water and smelling of "
        "diesel and wet rope. Hella stood at the end of the quay with her collar up and watched "
        "the lights swing round the breakwater, one green and one red, as they had every night "
        "for the eleven years she had kept the harbour office.",
        "Nobody got off at first. Then a boy with a canvas bag climbed the iron ladder, looked "
        "along the row of shuttered sheds as if he had expected a crowd, and asked her whether "
        "this was the last stop. She told him it was the only stop, which was a joke the "
        "fishermen liked, but he did not laugh.",
        "He said his name was Tomas and that his aunt ran the bakery on Chapel Street. Hella "
        "knew the bakery had been closed since the spring, when the old woman went inland to "
        "her daughter, and she saw from the way he held the bag that he knew it too.",
        "They walked up through the town together. The rain had stopped, and the gutters ran "
        "loud beside the cobbles. At the corner by the chandler's, where the wind always came "
        "hardest off the water, he stopped and asked her what people did here in the winter.",
        "\"Mend nets,\" she said. \"Argue about the weather. Wait for the ferry.\" It sounded "
        "smaller than she meant it to, so she added that the library stayed open on Thursdays "
        "and that the lighthouse keeper gave lessons in knots to anyone who brought him tea.",
        "The bakery door was locked, but the key was where it had always been, under the flat "
        "stone by the drainpipe. Inside, the ovens were cold and the shelves were bare, and a "
        "calendar from the previous year still hung by the till, turned to a picture of "
        "mountains nobody in the town had ever seen.",
        "Tomas put his bag on the counter and looked around for a long time without speaking. "
        "Then he asked whether flour could be had on the island, and how early the fishermen "
        "went out, and whether any of them liked cardamom. Hella found she did not know the "
        "answer to the last question, and that she wanted to.",
        "She left him there with a lamp and a box of matches and walked home along the sea "
        "wall. Far out, the ferry's lights were already small, heading back to the mainland "
        "against the tide, and for the first time in a long while she did not stop to watch "
        "them go.",
    };
}

}  // namespace quillane::test
