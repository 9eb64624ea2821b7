#include "whole_run.h"

#include <memory>
#include <string>
#include <vector>

#include "driver/options.h"
#include "driver/process.h"
#include "platform/text_reader.h"
#include "state/drawing_state.h"
#include "state/memory_streams.h"

WholeRun RunWholeInMemory(std::string_view words, std::string_view exchange) {
  WholeRun run;
  auto s = std::make_unique<DrawingState>();
  MemoryStreams streams;
  streams.Attach(*s);
  s->PAI = kDriverPAI;
  s->gomi = 0.0002;

  std::string word;
  for (size_t k = 0; k <= words.size(); ++k) {
    if (k == words.size() || words[k] == ' ') {
      if (!word.empty() && (word[0] == '-' || word[0] == '/')) {
        opt(*s, word.c_str());
      }
      word.clear();
    } else if (words[k] != '\0') {
      word += words[k];
    }
  }

  unsigned int count = 0;
  {
    platform::TextReader counter(exchange);
    platform::Piece piece;
    while (count <= kJdLimit && counter.ReadPiece(&piece)) ++count;
  }
  if (count > kJdLimit) {
    run.over_limit = true;
    return run;
  }
  platform::TextReader fp(exchange);
  s->fp = &fp;
  ProcessExchange(*s, count);
  streams.Flush();
  run.output = std::move(streams.output);
  run.console = std::move(streams.console);
  run.errors = std::move(streams.errors);
  return run;
}
