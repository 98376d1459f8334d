#!/usr/bin/env python3
"""A stand-in language-model server for trying AI naming without a real model.

Speaks the small part of the OpenAI-compatible API the application uses (GET /v1/models,
POST /v1/chat/completions), listens on 127.0.0.1 only, and stops by itself after --minutes.
Its "name" for a file is made of the first words of the content it is sent.

    tests/fake_model_server.py                # http://127.0.0.1:8080, stops after 30 minutes
    tests/fake_model_server.py --port 8181 --minutes 5 --delay 1.5
"""
import argparse
import json
import re
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MODEL = "fake-namer"


def name_for(prompt: str) -> str:
    content = prompt.split("\n", 1)[1] if prompt.startswith("File content:") else prompt
    words = re.findall(r"\w+", content)[:4]
    return " ".join(w.capitalize() for w in words)


class Handler(BaseHTTPRequestHandler):
    delay = 0.0

    def send_json(self, status: int, body: dict) -> None:
        data = json.dumps(body).encode()
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self) -> None:
        if self.path.rstrip("/") == "/v1/models":
            self.send_json(200, {"object": "list", "data": [{"id": MODEL, "object": "model"}]})
        else:
            self.send_json(404, {"error": "not found"})

    def do_POST(self) -> None:
        if self.path.rstrip("/") != "/v1/chat/completions":
            self.send_json(404, {"error": "not found"})
            return
        length = min(int(self.headers.get("Content-Length", "0")), 16 * 1024 * 1024)
        try:
            request = json.loads(self.rfile.read(length))
            prompt = request["messages"][-1]["content"]
        except (ValueError, KeyError, IndexError, TypeError):
            self.send_json(400, {"error": "bad request"})
            return
        time.sleep(self.delay)
        answer = name_for(prompt) or "Untitled"
        self.send_json(200, {"object": "chat.completion", "model": MODEL,
                             "choices": [{"index": 0, "finish_reason": "stop",
                                          "message": {"role": "assistant", "content": answer}}]})

    def log_message(self, fmt: str, *args) -> None:
        print("fake model server:", fmt % args, flush=True)


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--minutes", type=float, default=30.0, help="stop after this long")
    parser.add_argument("--delay", type=float, default=0.3, help="seconds to 'think' per answer")
    args = parser.parse_args()
    Handler.delay = max(0.0, args.delay)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    stopper = threading.Timer(args.minutes * 60, server.shutdown)
    stopper.daemon = True
    stopper.start()
    print(f"fake model server on http://127.0.0.1:{args.port} for {args.minutes:g} minutes", flush=True)
    server.serve_forever()
    server.server_close()


if __name__ == "__main__":
    main()
