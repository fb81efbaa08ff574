// SPDX-License-Identifier: MIT
// The lab's page: a learner's commands in, listdemo's interpreter (the
// WebAssembly module) runs each, and the page shows what it gives back: the
// transcript, as the terminal shows it, and the steps of each operation,
// one at a time, with their pictures. One state machine: `fase` is where
// the page is; `vista` which step is in view. Every text from the module or
// the learner reaches the page as textContent; the pictures are the
// module's SVG, parsed as SVG and never as HTML.
(function () {
  'use strict';

  const LIMITE_SESSAO_MB = 1;
  const MAIS_LINHAS = 5000; // lines of a session opened
  // The steps of an insertion walk the whole list, each with its picture:
  // past this many elements, the page inserts no more (listdemo does).
  const MAIS_ELEMENTOS = 300;
  const MAIS_PASSOS = 20000; // steps kept, the oldest operations dropped
  const DESENHOS_GUARDADOS = 300;

  const $ = (id) => document.getElementById(id);
  const el = {
    aviso: $('aviso'), estado: $('estado'), form: $('form-comando'), comando: $('comando'),
    executar: $('executar'), transcricao: $('transcricao'), erros: $('erros'), salvar: $('salvar'),
    recomecar: $('recomecar'), abrir: $('abrir'), prever: $('prever'),
    operacaoAnterior: $('operacao-anterior'), anterior: $('anterior'), proximo: $('proximo'),
    proximaOperacao: $('proxima-operacao'), posicao: $('posicao'), tituloPasso: $('titulo-passo'),
    pergunta: $('pergunta'), textoPergunta: $('texto-pergunta'), respostas: $('respostas'),
    julgamento: $('julgamento'), placar: $('placar'), desenho: $('desenho'), linhasPasso: $('linhas-passo'),
    codigoPasso: $('codigo-passo'),
  };

  // fase: 'carregando' | 'pronto' | 'ocupado' | 'fim' (after sair)
  const estado = {
    fase: 'carregando',
    modulo: null,
    lab: null,
    sessao: [], // every line given, as a saved session holds them
    elementos: 0, // in the list, as its last picture shows it
    passosGuardados: 0,
    historico: [], // the commands typed, for ↑ and ↓
    noHistorico: 0,
    operacoes: [], // {comando, passos: [{id, titulo, linhas, pergunta}]}
    vista: null, // {op, passo}
    respostas: new Map(), // step id → whether the answer was right
    desenhos: new Map(), // step id → SVG text
  };
  window.laboratorio = {
    estado,
    chamar: (fazer) => chamar(fazer).catch(() => {}),
  };

  function dizer(texto) { el.estado.textContent = texto; }
  function avisar(texto) {
    el.aviso.textContent = texto;
    el.aviso.hidden = !texto;
  }

  function ir(fase) {
    estado.fase = fase;
    const pode = fase === 'pronto';
    el.comando.disabled = !pode;
    el.executar.disabled = !pode;
    el.abrir.disabled = fase === 'carregando' || fase === 'ocupado';
    el.recomecar.disabled = fase === 'carregando' || fase === 'ocupado';
    el.salvar.disabled = estado.sessao.length === 0;
    atualizarNavegacao();
  }

  async function iniciar() {
    estado.modulo = null;
    estado.lab = null;
    estado.modulo = await LaboratorioModulo({ onAbort: () => {} });
    estado.lab = new estado.modulo.Laboratorio();
  }

  class FalhaInterna extends Error {}

  // Calls into the module. An exception out of the C++ or an abort leaves
  // the module unusable: the page says so and starts a new session.
  async function chamar(fazer) {
    try {
      return fazer(estado.lab, estado.modulo);
    } catch (erro) {
      console.error(erro);
      await recomecar('Algo deu errado dentro da página, e ela recomeçou com uma lista vazia.');
      throw new FalhaInterna();
    }
  }

  function limpar() {
    estado.sessao = [];
    estado.elementos = 0;
    estado.passosGuardados = 0;
    estado.operacoes = [];
    estado.vista = null;
    estado.respostas.clear();
    estado.desenhos.clear();
    el.transcricao.replaceChildren();
    el.erros.replaceChildren();
    el.julgamento.textContent = '';
    el.julgamento.className = 'julgamento';
    mostrarPasso();
  }

  async function recomecar(aviso) {
    ir('carregando');
    limpar();
    try {
      if (estado.lab) estado.lab.delete();
    } catch (erro) { /* a module that failed cannot free it */ }
    try {
      await iniciar();
    } catch (erro) {
      console.error(erro);
      avisar('A página não conseguiu recomeçar. Recarregue-a.');
      return;
    }
    avisar(aviso || '');
    dizer('Pronta: a lista está vazia.');
    ir('pronto');
  }

  // Whether the page runs `linha`: an insertion in a list that is already
  // as long as the page draws is not.
  function cabe(linha) {
    return !(estado.elementos >= MAIS_ELEMENTOS && /^\s*inserir(\s|$)/.test(linha));
  }
  const NAO_CABE = `O laboratório mostra os passos de listas de até ${MAIS_ELEMENTOS} elementos, e esta ` +
    'já tem isso: remova algum, ou use o listdemo --interativo para listas maiores.';

  // Runs one line: what the module gives for it ({saida, erro, passos, fim}).
  function executar(lab, linha) {
    const r = lab.linha(linha);
    estado.sessao.push(linha);
    const bloco = document.createElement('span');
    bloco.className = 'eco';
    bloco.dataset.comando = estado.modulo.Laboratorio.mostrado(linha);
    bloco.textContent = r.saida;
    el.transcricao.append(bloco);
    if (r.erro) el.erros.append(document.createTextNode(`${r.erro}\n`));
    if (r.passos.length > 0) {
      estado.operacoes.push({ comando: linha, passos: r.passos });
      estado.elementos = r.passos[r.passos.length - 1].elementos;
      estado.passosGuardados += r.passos.length;
      while (estado.passosGuardados > MAIS_PASSOS && estado.operacoes.length > 1) {
        estado.passosGuardados -= estado.operacoes.shift().passos.length;
        if (estado.vista) {
          estado.vista = estado.vista.op > 0 ? { op: estado.vista.op - 1, passo: estado.vista.passo } : { op: 0, passo: 0 };
        }
      }
    }
    return r;
  }

  async function enviar(evento) {
    evento.preventDefault();
    if (estado.fase !== 'pronto') return;
    const linha = el.comando.value;
    if (linha.trim() === '') return;
    if (!cabe(linha)) {
      avisar(NAO_CABE);
      return;
    }
    avisar('');
    ir('ocupado');
    let r;
    try {
      r = await chamar((lab) => executar(lab, linha));
    } catch (erro) { return; }
    estado.historico.push(linha);
    estado.noHistorico = estado.historico.length;
    el.comando.value = '';
    el.transcricao.scrollTop = el.transcricao.scrollHeight;
    depoisDosComandos(r, r.passos.length > 0);
  }

  function depoisDosComandos(r, novosPassos) {
    if (r.erro) {
      el.erros.scrollTop = el.erros.scrollHeight;
      dizer(`Erro: ${r.erro}`);
    } else {
      dizer('Pronta.');
    }
    if (novosPassos) {
      estado.vista = { op: estado.operacoes.length - 1, passo: 0 };
      mostrarPasso();
    }
    if (r.fim) {
      ir('fim');
      dizer('A sessão terminou (sair). Recomece para uma nova.');
    } else {
      ir('pronto');
      el.comando.focus();
    }
  }

  // ↑ and ↓ in the command field: the commands typed before.
  function historico(evento) {
    if (evento.key !== 'ArrowUp' && evento.key !== 'ArrowDown') return;
    evento.preventDefault();
    const h = estado.historico;
    if (h.length === 0) return;
    estado.noHistorico = evento.key === 'ArrowUp'
      ? Math.max(0, estado.noHistorico - 1)
      : Math.min(h.length, estado.noHistorico + 1);
    el.comando.value = estado.noHistorico < h.length ? h[estado.noHistorico] : '';
  }

  // The steps in view.
  function passoEm(vista) {
    if (!vista) return null;
    return estado.operacoes[vista.op].passos[vista.passo];
  }

  function anteriorA(vista) {
    if (vista.passo > 0) return { op: vista.op, passo: vista.passo - 1 };
    if (vista.op > 0) return { op: vista.op - 1, passo: estado.operacoes[vista.op - 1].passos.length - 1 };
    return null;
  }

  function seguinteA(vista) {
    if (vista.passo + 1 < estado.operacoes[vista.op].passos.length) return { op: vista.op, passo: vista.passo + 1 };
    if (vista.op + 1 < estado.operacoes.length) return { op: vista.op + 1, passo: 0 };
    return null;
  }

  function desenhoDe(passo) {
    if (estado.desenhos.has(passo.id)) return estado.desenhos.get(passo.id);
    let svg = '';
    try {
      svg = estado.lab.desenho(passo.id);
    } catch (erro) {
      console.error(erro);
      recomecar('Algo deu errado dentro da página, e ela recomeçou com uma lista vazia.');
      return '';
    }
    if (estado.desenhos.size >= DESENHOS_GUARDADOS) {
      estado.desenhos.delete(estado.desenhos.keys().next().value);
    }
    estado.desenhos.set(passo.id, svg);
    return svg;
  }

  function pintar(passo) {
    const svg = passo ? desenhoDe(passo) : '';
    if (!svg) {
      el.desenho.replaceChildren();
      if (passo) el.desenho.textContent = 'O desenho deste passo não está mais guardado.';
      return;
    }
    // Parsed in a document of its own, where nothing runs, and taken over
    // without anything that could: scripts, foreign content, handlers and
    // links that leave the picture.
    const doc = new DOMParser().parseFromString(svg, 'text/html');
    const raiz = doc.body.firstElementChild;
    if (!raiz || raiz.localName !== 'svg') {
      el.desenho.textContent = 'Este desenho não pôde ser mostrado.';
      return;
    }
    raiz.querySelectorAll('script, foreignObject, iframe, image, use:not([href^="#"])').forEach((e) => e.remove());
    for (const e of [raiz, ...raiz.querySelectorAll('*')]) {
      for (const a of [...e.attributes]) {
        const valor = a.value.trim().toLowerCase();
        if (a.name.startsWith('on') || ((a.name === 'href' || a.name === 'xlink:href') && !valor.startsWith('#'))) {
          e.removeAttribute(a.name);
        }
      }
    }
    el.desenho.replaceChildren(document.importNode(raiz, true));
  }

  function perguntaPendente(passo) {
    return el.prever.checked && passo && passo.pergunta && !estado.respostas.has(passo.id);
  }

  function mostrarPasso() {
    const vista = estado.vista;
    const passo = passoEm(vista);
    el.pergunta.hidden = true;
    if (!passo) {
      el.posicao.textContent = 'Nenhum passo ainda: digite um comando.';
      el.tituloPasso.textContent = '';
      el.linhasPasso.textContent = '';
      mostrarCodigo(null);
      pintar(null);
      atualizarNavegacao();
      return;
    }
    const op = estado.operacoes[vista.op];
    el.posicao.textContent = `Operação ${vista.op + 1} de ${estado.operacoes.length} ` +
      `(${op.comando}), passo ${vista.passo + 1} de ${op.passos.length}.`;
    el.tituloPasso.textContent = passo.titulo;
    mostrarCodigo(passo);
    if (perguntaPendente(passo)) {
      const antes = anteriorA(vista);
      pintar(antes ? passoEm(antes) : null);
      el.desenho.classList.remove('escondido');
      el.linhasPasso.textContent = '';
      perguntar(passo);
    } else {
      pintar(passo);
      el.linhasPasso.textContent = passo.linhas.join('\n');
    }
    atualizarNavegacao();
  }

  // The code of the function that runs the step, every line, the line it
  // runs marked; nothing for a step that runs none.
  function mostrarCodigo(passo) {
    const linhas = passo && passo.codigo ? passo.codigo : [];
    el.codigoPasso.replaceChildren(...linhas.map((texto, i) => {
      const li = document.createElement('li');
      li.textContent = texto;
      if (i + 1 === passo.linha) li.setAttribute('aria-current', 'step');
      return li;
    }));
    el.codigoPasso.hidden = linhas.length === 0;
  }

  function perguntar(passo) {
    const p = passo.pergunta;
    if (!p.opcoes) {
      try {
        p.opcoes = estado.lab.opcoes(passo.id);
      } catch (erro) {
        console.error(erro);
        recomecar('Algo deu errado dentro da página, e ela recomeçou com uma lista vazia.');
        return;
      }
    }
    el.textoPergunta.textContent = `Antes deste passo (o desenho é o de antes): para onde vai apontar ${p.elo}?`;
    el.respostas.replaceChildren(...p.opcoes.map((opcao) => {
      const botao = document.createElement('button');
      botao.type = 'button';
      botao.dataset.resposta = opcao.valor;
      botao.textContent = opcao.rotulo;
      botao.addEventListener('click', () => responder(passo, opcao.valor));
      return botao;
    }));
    el.pergunta.hidden = false;
    el.julgamento.textContent = '';
    el.julgamento.className = 'julgamento';
  }

  function responder(passo, valor) {
    if (estado.respostas.has(passo.id)) return;
    const p = passo.pergunta;
    const certo = valor === p.certa;
    estado.respostas.set(passo.id, certo);
    const certa = p.opcoes.find((o) => o.valor === p.certa);
    el.julgamento.textContent = certo
      ? `Certo: ${p.elo} passa a apontar para ${certa.rotulo}.`
      : `Errado: ${p.elo} passa a apontar para ${certa.rotulo}.`;
    el.julgamento.className = `julgamento ${certo ? 'certo' : 'errado'}`;
    const respondidas = [...estado.respostas.values()].filter((v) => v !== null);
    el.placar.hidden = false;
    el.placar.textContent = `Acertos: ${respondidas.filter(Boolean).length} de ${respondidas.length}.`;
    mostrarPasso();
    el.proximo.focus();
  }

  function atualizarNavegacao() {
    const vista = estado.vista;
    el.anterior.disabled = !vista || !anteriorA(vista);
    el.operacaoAnterior.disabled = !vista || vista.op === 0;
    el.proximo.disabled = !vista || !seguinteA(vista);
    el.proximaOperacao.disabled = !vista || vista.op + 1 >= estado.operacoes.length;
  }

  function ver(vista) {
    if (!vista) return;
    const atual = passoEm(estado.vista);
    // Going on from a question unanswered shows the step, uncounted.
    if (atual && perguntaPendente(atual) && vista !== estado.vista) {
      estado.respostas.set(atual.id, null);
    }
    estado.vista = vista;
    el.julgamento.textContent = '';
    el.julgamento.className = 'julgamento';
    mostrarPasso();
  }

  const navegar = {
    proximo: () => estado.vista && ver(seguinteA(estado.vista)),
    anterior: () => estado.vista && ver(anteriorA(estado.vista)),
    proximaOperacao: () => estado.vista && estado.vista.op + 1 < estado.operacoes.length &&
      ver({ op: estado.vista.op + 1, passo: 0 }),
    operacaoAnterior: () => estado.vista && estado.vista.op > 0 && ver({ op: estado.vista.op - 1, passo: 0 }),
    primeiro: () => estado.operacoes.length > 0 && ver({ op: 0, passo: 0 }),
    ultimo: () => {
      const n = estado.operacoes.length;
      if (n > 0) ver({ op: n - 1, passo: estado.operacoes[n - 1].passos.length - 1 });
    },
  };

  function teclas(evento) {
    const alvo = evento.target;
    if (alvo instanceof HTMLInputElement || alvo instanceof HTMLTextAreaElement ||
        alvo instanceof HTMLSelectElement || evento.ctrlKey || evento.altKey || evento.metaKey) return;
    const acao = {
      ArrowRight: evento.shiftKey ? navegar.proximaOperacao : navegar.proximo,
      ArrowLeft: evento.shiftKey ? navegar.operacaoAnterior : navegar.anterior,
      PageDown: navegar.proximaOperacao,
      PageUp: navegar.operacaoAnterior,
      Home: navegar.primeiro,
      End: navegar.ultimo,
      p: () => { el.prever.checked = !el.prever.checked; mostrarPasso(); },
    }[evento.key === 'P' ? 'p' : evento.key];
    if (acao) {
      evento.preventDefault();
      acao();
    }
  }

  function salvar() {
    const texto = estado.sessao.map((l) => `${l}\n`).join('');
    const url = URL.createObjectURL(new Blob([texto], { type: 'text/plain' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = 'sessao.txt';
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }

  async function abrir() {
    const arquivo = el.abrir.files[0];
    if (!arquivo) return;
    if (arquivo.size > LIMITE_SESSAO_MB * 1024 * 1024) {
      avisar(`O arquivo tem mais de ${LIMITE_SESSAO_MB} MB; uma sessão salva aqui tem até ` +
        `${LIMITE_SESSAO_MB} MB. Para uma maior, use o listdemo --interativo.`);
      el.abrir.value = '';
      return;
    }
    let texto;
    try {
      texto = new TextDecoder('utf-8', { fatal: true }).decode(await arquivo.arrayBuffer());
    } catch (erro) {
      avisar('Este arquivo não é texto em UTF-8: uma sessão salva é um comando por linha.');
      el.abrir.value = '';
      return;
    }
    el.abrir.value = '';
    const linhas = texto.split(/\r\n|\n|\r/);
    if (linhas.length > 0 && linhas[linhas.length - 1] === '') linhas.pop();
    if (linhas.length > MAIS_LINHAS) {
      avisar(`A sessão tem ${linhas.length} linhas; esta página refaz até ${MAIS_LINHAS}. ` +
        'Para uma maior, use o listdemo --interativo.');
      return;
    }
    await recomecar('');
    ir('ocupado');
    let r = { erro: '', fim: false, passos: [] };
    let erros = 0;
    const antes = estado.operacoes.length;
    // A few lines at a time, the page answering between them.
    for (let i = 0; i < linhas.length && !r.fim; ++i) {
      if (!cabe(linhas[i])) {
        avisar(`Linha ${i + 1}: ${NAO_CABE} A sessão foi refeita até a linha ${i}.`);
        break;
      }
      try {
        r = await chamar((lab) => executar(lab, linhas[i]));
      } catch (erro) { return; }
      if (r.erro) erros += 1;
      if (i % 25 === 24) {
        dizer(`Refazendo a sessão: ${i + 1} de ${linhas.length} linhas…`);
        await new Promise((pronto) => setTimeout(pronto, 0));
      }
    }
    depoisDosComandos({ erro: '', fim: r.fim }, estado.operacoes.length > antes);
    estado.vista = estado.operacoes.length > 0 ? { op: 0, passo: 0 } : null;
    mostrarPasso();
    dizer(`Sessão aberta: ${arquivo.name}, ${estado.sessao.length} linhas` +
      (erros > 0 ? `, ${erros} com erro.` : '.'));
  }

  el.form.addEventListener('submit', enviar);
  el.comando.addEventListener('keydown', historico);
  document.addEventListener('keydown', teclas);
  el.proximo.addEventListener('click', navegar.proximo);
  el.anterior.addEventListener('click', navegar.anterior);
  el.proximaOperacao.addEventListener('click', navegar.proximaOperacao);
  el.operacaoAnterior.addEventListener('click', navegar.operacaoAnterior);
  el.prever.addEventListener('change', mostrarPasso);
  el.salvar.addEventListener('click', salvar);
  el.recomecar.addEventListener('click', () => recomecar(''));
  el.abrir.addEventListener('change', abrir);

  iniciar().then(() => {
    dizer('Pronta: a lista está vazia.');
    ir('pronto');
    el.comando.focus();
    estado.prontaEm = performance.now();
  }, (erro) => {
    console.error(erro);
    avisar('Este navegador não conseguiu iniciar a página (ela precisa de WebAssembly).');
  });
}());
